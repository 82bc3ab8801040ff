// Takes the help viewer's screenshots in docs/screenshots: the real window on a real X display
// (run under xvfb-run with a window manager), captured with ImageMagick's import.
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QProcess>
#include <QTimer>
#include <string>

#include "platform/help_viewer.h"

namespace {

std::string folder;

// Gives the window manager time to map and decorate the window before the capture.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(800, &loop, &QEventLoop::quit);
    loop.exec();
}

void capture(const std::string& name) {
    settle();
    QString path = QString::fromStdString(folder + "/" + name);
    QProcess::execute("import", {"-window", "root", path});
    QProcess::execute("convert", {path, "-trim", "+repage", path});
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    folder = argc > 1 ? argv[1] : ".";
    OS_SHOWHELPTOPIC(TARVEX_HELP_FILE, 130);
    capture("help-topic-130.png");
    for (int topic : {155, 170}) {
        OS_SHOWHELPTOPIC(TARVEX_HELP_FILE, topic);
        capture("help-topic-" + std::to_string(topic) + ".png");
    }
    OS_SHOWHELPCONTENTS(TARVEX_HELP_FILE);
    capture("help-contents.png");
    // The index narrowed to what is typed, and a search over the topics' text.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* tabs = window->findChild<QTabWidget*>("tabs");
        if (!tabs) continue;
        tabs->setCurrentIndex(1);
        window->findChild<QLineEdit*>("indexFilter")->setText("st");
        capture("help-index.png");
        tabs->setCurrentIndex(2);
        window->findChild<QLineEdit*>("searchField")->setText("cume listeners");
        window->findChild<QPushButton*>("searchButton")->click();
        capture("help-search.png");
    }
    return 0;
}
