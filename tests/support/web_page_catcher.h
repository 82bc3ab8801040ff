// The receiver of the web pages a test catches (see WebPages).
#pragma once

#include <QObject>
#include <QUrl>
#include <string>
#include <vector>

class WebPageCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<std::string> pages;
public slots:
    void open(const QUrl& url) { pages.push_back(url.toString().toStdString()); }
};

WebPageCatcher& webPageCatcher();
