// The help viewer window: the table of contents as a tree at the left, the page at the right, and
// every page, stylesheet and picture read out of the compiled help file through "help:" addresses.
#include "platform/help_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "platform/help_file.h"

namespace {

const QString kScheme = "help";
// Marks the address of a default page shown for a topic the help file has no page for.
const QString kNoHelpQuery = "nohelp";
constexpr int kPathRole = Qt::UserRole;

QUrl pageUrl(const std::string& page, bool noHelp = false) {
    QString path = QString::fromStdString(page);
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(path.section('#', 0, 0));
    if (path.contains('#')) url.setFragment(path.section('#', 1));
    if (noHelp) url.setQuery(kNoHelpQuery);
    return url;
}

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Pages are read in the character set that they declare, UTF-8 when they declare none. Qt knows no
// Windows code pages, which older help files declare; Latin-1 is the nearest to them.
QString decodeHtml(const std::string& bytes) {
    QByteArrayView data(bytes.data(), qsizetype(bytes.size()));
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    return decoder.isValid() ? decoder.decode(data) : QString::fromLatin1(data);
}

// The line that goes above the default page when the asked-for item has no page of its own.
QString withNoHelpLine(QString html) {
    const QString line = "<p><i>There is no help for this item.</i></p>";
    int body = html.indexOf("<body", 0, Qt::CaseInsensitive);
    int start = body < 0 ? -1 : html.indexOf('>', body);
    html.insert(start < 0 ? 0 : start + 1, line);
    return html;
}

// Shows pages of the open help file; any other address gives nothing.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    const help::HelpFile* file = nullptr;
    std::string filePath;

    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() != kScheme || !file) return {};
        std::optional<std::string> bytes = file->read(url.path(QUrl::FullyDecoded).toStdString());
        if (type == QTextDocument::HtmlResource) {
            if (!bytes)
                return QString(
                           "<h2>Page not available</h2><p>The page \"%1\" could not be read from the help "
                           "file \"%2\". The file may be damaged.</p>")
                    .arg(url.path().toHtmlEscaped(), escaped(filePath));
            QString html = decodeHtml(*bytes);
            return url.query() == kNoHelpQuery ? withNoHelpLine(html) : html;
        }
        if (!bytes) return {};
        if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(bytes->data(), bytes->size());
        return QByteArray(bytes->data(), qsizetype(bytes->size()));
    }
};

class HelpWindow : public QWidget {
public:
    HelpWindow() {
        setWindowTitle("Tarvex Help");
        resize(900, 600);

        QToolBar* tools = new QToolBar(this);
        tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        auto addAction = [&](QStyle::StandardPixmap icon, const QString& text, const QString& name) {
            QAction* action = tools->addAction(style()->standardIcon(icon), text);
            action->setObjectName(name);
            return action;
        };
        QAction* back = addAction(QStyle::SP_ArrowBack, "Back", "back");
        QAction* forward = addAction(QStyle::SP_ArrowForward, "Forward", "forward");
        QAction* home = addAction(QStyle::SP_DirHomeIcon, "Home", "home");
        back->setEnabled(false);
        forward->setEnabled(false);

        contents_ = new QTreeWidget;
        contents_->setHeaderHidden(true);
        contents_->setObjectName("contents");
        browser_ = new HelpBrowser;
        browser_->setObjectName("page");
        browser_->setOpenLinks(false);
        browser_->document()->setDocumentMargin(12);

        QSplitter* splitter = new QSplitter(Qt::Horizontal);
        splitter->addWidget(contents_);
        splitter->addWidget(browser_);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({250, 650});
        splitter->setChildrenCollapsible(false);

        QVBoxLayout* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(tools);
        layout->addWidget(splitter);

        connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
        connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
        connect(home, &QAction::triggered, this, [this] {
            if (file_) go(pageUrl(file_->defaultPage()));
        });
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
        connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
        connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::follow);
        connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::selectInContents);
        connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
            if (item && !item->data(0, kPathRole).toString().isEmpty())
                go(pageUrl(item->data(0, kPathRole).toString().toStdString()));
        });
    }

    // Shows the page of a topic, or with no topic the default page.
    void display(const std::string& path, std::optional<int32_t> topic) {
        bool newFile = !file_ || path != browser_->filePath;
        if (newFile) {
            file_ = help::HelpFile::open(path);
            browser_->file = file_.get();
            browser_->filePath = path;
            setWindowTitle(file_ && !file_->title().empty() ? QString::fromStdString(file_->title())
                                                            : "Tarvex Help");
            fillContents();
        }
        if (!file_) {
            showProblem(path);
        } else {
            std::string page = topic && *topic > 0 ? file_->topicFile(uint32_t(*topic)) : "";
            go(page.empty() ? pageUrl(file_->defaultPage(), topic.has_value()) : pageUrl(page));
            // Back never leads into a help file that is no longer the one shown.
            if (newFile) browser_->clearHistory();
        }
        present();
    }

    std::string page() const {
        return problem_ || browser_->source().scheme() != kScheme ? ""
                                                                  : browser_->source().path().toStdString();
    }
    std::string text() const { return browser_->toPlainText().toStdString(); }

private:
    void go(const QUrl& url) {
        problem_ = false;
        // The browser loads nothing for the address it already shows; a page of a newly opened
        // file may have the same address as the one on screen.
        if (browser_->source() == url) {
            browser_->reload();
        } else {
            browser_->setSource(url);
        }
    }

    void follow(const QUrl& url) {
        if (url.scheme() == kScheme) {
            go(url);
        } else {
            QDesktopServices::openUrl(url);
        }
    }

    void showProblem(const std::string& path) {
        QString what = QFileInfo::exists(QString::fromStdString(path))
                           ? "could not be read. It may be damaged."
                           : "could not be found.";
        browser_->setHtml(
            QString("<h2>Help is not available</h2><p>The help file \"%1\" %2</p>").arg(escaped(path), what));
        browser_->clearHistory();
        problem_ = true;
    }

    void fillContents() {
        QSignalBlocker quiet(contents_);
        contents_->clear();
        if (!file_) return;
        for (const help::ContentsEntry& entry : file_->contents()) addEntry(entry, nullptr);
        contents_->expandAll();
    }

    void addEntry(const help::ContentsEntry& entry, QTreeWidgetItem* parent) {
        QTreeWidgetItem* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, QString::fromStdString(entry.name));
        item->setData(0, kPathRole, QString::fromStdString(entry.file));
        bool heading = !entry.children.empty();
        item->setIcon(0, style()->standardIcon(heading ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
        for (const help::ContentsEntry& child : entry.children) addEntry(child, item);
    }

    // Marks the entry of the page on screen, so the tree shows where the reader is.
    void selectInContents(const QUrl& url) {
        QSignalBlocker quiet(contents_);
        QString path = url.path();
        for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
            if (QUrl(kScheme + ":" + (*it)->data(0, kPathRole).toString()).path() == path) {
                contents_->setCurrentItem(*it);
                return;
            }
        }
        contents_->setCurrentItem(nullptr);
    }

    void present() {
        if (isMinimized()) showNormal();
        show();
        raise();
        activateWindow();
    }

    QTreeWidget* contents_;
    HelpBrowser* browser_;
    std::unique_ptr<help::HelpFile> file_;
    bool problem_ = false;
};

// The one viewer window. It belongs to no form and lives until the program ends.
QPointer<HelpWindow> viewer;
int windowsCreated = 0;

HelpWindow& window() {
    if (!viewer) {
        viewer = new HelpWindow;
        ++windowsCreated;
    }
    return *viewer;
}

}  // namespace

void OS_SHOWHELPCONTENTS(const std::string& helpFile) { window().display(helpFile, std::nullopt); }

void OS_SHOWHELPTOPIC(const std::string& helpFile, int32_t topic) { window().display(helpFile, topic); }

std::string OS_HELPPAGE() { return viewer ? viewer->page() : ""; }

std::string OS_HELPTEXT() { return viewer ? viewer->text() : ""; }

bool OS_HELPVISIBLE() { return viewer && viewer->isVisible(); }

int OS_HELPWINDOWCOUNT() { return windowsCreated; }

void OS_HELPCLOSE() {
    if (viewer) viewer->close();
}
