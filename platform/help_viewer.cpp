// The help viewer window: the table of contents as a tree at the left, the page at the right, and
// every page, stylesheet and picture read out of the compiled help file through "help:" addresses.
#include "platform/help_viewer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QImage>
#include <QPixmap>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "platform/file_digest.h"
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

// True when the file is the help file this build compiled, byte for byte.
bool builtHelpFile(const std::string& path) {
    int64_t size = 0;
    std::string digest;
    return OS_FILEDIGEST(path, size, digest) &&
           QByteArray(digest.data(), qsizetype(digest.size())).toHex() == QByteArray(OS_BUILTHELPDIGEST);
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

    // Pictures wider than the page are scaled down to its width; narrower ones keep their size.
    void fitPictures() {
        const qreal room = viewport()->width() - 2 * document()->documentMargin() - 4;
        QTextCursor cursor(document());
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QTextFragment fragment = it.fragment();
                if (!fragment.charFormat().isImageFormat()) continue;
                QTextImageFormat picture = fragment.charFormat().toImageFormat();
                const QVariant data = document()->resource(QTextDocument::ImageResource, QUrl(picture.name()));
                // The layout keeps a picture it has decoded as a pixmap in place of its bytes.
                const QSize natural = data.typeId() == QMetaType::QPixmap  ? data.value<QPixmap>().size()
                                      : data.typeId() == QMetaType::QImage ? data.value<QImage>().size()
                                                                           : QImage::fromData(data.toByteArray()).size();
                if (natural.isEmpty() || room <= 0) continue;
                const qreal width = std::min<qreal>(natural.width(), room);
                if (qAbs(picture.width() - width) < 0.5) continue;
                picture.setWidth(width);
                picture.setHeight(natural.height() * width / natural.width());
                cursor.setPosition(fragment.position());
                cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                cursor.setCharFormat(picture);
            }
        }
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTextBrowser::resizeEvent(event);
        if (event->size().width() != event->oldSize().width()) fitPictures();
    }
};

class HelpWindow : public QWidget {
public:
    HelpWindow() {
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
        auto* tabs = new QTabWidget;
        tabs->setObjectName("tabs");
        tabs->addTab(contents_, "Contents");
        tabs->addTab(indexPage(), "Index");
        tabs->addTab(searchPage(), "Search");
        browser_ = new HelpBrowser;
        browser_->setObjectName("page");
        browser_->setOpenLinks(false);
        browser_->document()->setDocumentMargin(12);

        QSplitter* splitter = new QSplitter(Qt::Horizontal);
        splitter->addWidget(tabs);
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
        connect(browser_, &QTextBrowser::sourceChanged, browser_, &HelpBrowser::fitPictures);
        connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
            if (item && !item->data(0, kPathRole).toString().isEmpty())
                go(pageUrl(item->data(0, kPathRole).toString().toStdString()));
        });
    }

    // Shows the page of a topic, or with no topic the default page.
    void display(const std::string& path, std::optional<int32_t> topic) {
        bool newFile = !file_ || path != browser_->filePath;
        if (newFile) {
            file_ = builtHelpFile(path) ? help::HelpFile::open(path) : nullptr;
            browser_->file = file_.get();
            browser_->filePath = path;
            // The file's own title, else its name ("Tarvex Help" of "Tarvex Help.chm").
            setWindowTitle(file_ && !file_->title().empty() ? QString::fromStdString(file_->title())
                                                            : QFileInfo(QString::fromStdString(path)).completeBaseName());
            fillContents();
            fillIndex();
            searchResults_->clear();
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

    // The Index tab: the compiled index's keywords, the list narrowed to those that hold what is
    // typed above it anywhere; choosing one opens its page.
    QWidget* indexPage() {
        auto* page = new QWidget;
        indexFilter_ = new QLineEdit;
        indexFilter_->setObjectName("indexFilter");
        indexFilter_->setPlaceholderText("Type a keyword");
        index_ = new QListWidget;
        index_->setObjectName("index");
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(indexFilter_);
        layout->addWidget(index_);
        connect(indexFilter_, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
        connect(indexFilter_, &QLineEdit::returnPressed, this, [this] {
            for (int row = 0; row < index_->count(); ++row)
                if (!index_->item(row)->isHidden()) return openListed(index_->item(row));
        });
        connect(index_, &QListWidget::itemActivated, this, &HelpWindow::openListed);
        connect(index_, &QListWidget::itemClicked, this, &HelpWindow::openListed);
        return page;
    }

    void fillIndex() {
        index_->clear();
        if (!file_) return;
        std::vector<std::pair<const help::ContentsEntry*, int>> pending;
        std::vector<help::ContentsEntry> keywords = file_->index();
        for (auto it = keywords.rbegin(); it != keywords.rend(); ++it) pending.push_back({&*it, 0});
        while (!pending.empty()) {
            auto [entry, depth] = pending.back();
            pending.pop_back();
            auto* item = new QListWidgetItem(QString(depth * 4, ' ') + QString::fromStdString(entry->name), index_);
            item->setData(kPathRole, QString::fromStdString(entry->file));
            for (auto child = entry->children.rbegin(); child != entry->children.rend(); ++child)
                pending.push_back({&*child, depth + 1});
        }
    }

    void filterIndex(const QString& typed) {
        for (int row = 0; row < index_->count(); ++row) {
            QListWidgetItem* item = index_->item(row);
            item->setHidden(!item->text().contains(typed.trimmed(), Qt::CaseInsensitive));
        }
    }

    void openListed(QListWidgetItem* item) {
        const QString path = item ? item->data(kPathRole).toString() : QString();
        if (!path.isEmpty()) go(pageUrl(path.toStdString()));
    }

    // The Search tab: every page whose text holds all the words typed, in the singular or plural.
    QWidget* searchPage() {
        auto* page = new QWidget;
        searchField_ = new QLineEdit;
        searchField_->setObjectName("searchField");
        searchField_->setPlaceholderText("Words to find");
        auto* find = new QPushButton("Search");
        find->setObjectName("searchButton");
        searchResults_ = new QListWidget;
        searchResults_->setObjectName("searchResults");
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(searchField_);
        layout->addWidget(find);
        layout->addWidget(searchResults_);
        connect(searchField_, &QLineEdit::returnPressed, this, &HelpWindow::search);
        connect(find, &QPushButton::clicked, this, &HelpWindow::search);
        connect(searchResults_, &QListWidget::itemActivated, this, &HelpWindow::openFound);
        connect(searchResults_, &QListWidget::itemClicked, this, &HelpWindow::openFound);
        return page;
    }

    void search() {
        searchResults_->clear();
        const QStringList words = searchField_->text().split(' ', Qt::SkipEmptyParts);
        if (!file_ || words.isEmpty()) return;
        for (const std::string& path : file_->files()) {
            const QString name = QString::fromStdString(path).toLower();
            if (!name.endsWith(".htm") && !name.endsWith(".html")) continue;
            std::optional<std::string> bytes = file_->read(path);
            if (!bytes) continue;
            const QString html = decodeHtml(*bytes);
            const QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
            bool all = true;
            for (const QString& word : words) all = all && text.contains(singular(word), Qt::CaseInsensitive);
            if (!all) continue;
            auto* item = new QListWidgetItem(titleOf(html, path), searchResults_);
            item->setData(kPathRole, QString::fromStdString(path));
        }
        if (searchResults_->count() == 0) {
            auto* none = new QListWidgetItem("No topic holds these words.", searchResults_);
            none->setFlags(Qt::NoItemFlags);
        }
    }

    // A page with "cume" is found for "cumes", and "cumes" itself holds "cume": the singular of a
    // plural finds both.
    static QString singular(const QString& word) {
        if (word.size() > 4 && word.endsWith("ies", Qt::CaseInsensitive)) return word.chopped(3) + "y";
        if (word.size() > 3 && word.endsWith("s", Qt::CaseInsensitive) && !word.endsWith("ss", Qt::CaseInsensitive))
            return word.chopped(1);
        return word;
    }

    static QString titleOf(const QString& html, const std::string& path) {
        const int start = html.indexOf("<title>", 0, Qt::CaseInsensitive);
        const int end = html.indexOf("</title>", start, Qt::CaseInsensitive);
        if (start >= 0 && end > start) return QTextDocumentFragment::fromHtml(html.mid(start + 7, end - start - 7)).toPlainText().trimmed();
        return QString::fromStdString(path);
    }

    void openFound(QListWidgetItem* item) {
        if (!item || item->data(kPathRole).toString().isEmpty()) return;
        openListed(item);
        const QStringList words = searchField_->text().split(' ', Qt::SkipEmptyParts);
        if (!words.isEmpty()) browser_->find(words.first());
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
    QLineEdit* indexFilter_;
    QListWidget* index_;
    QLineEdit* searchField_;
    QListWidget* searchResults_;
    HelpBrowser* browser_;
    std::unique_ptr<help::HelpFile> file_;
    bool problem_ = false;
};

// The one viewer window. It belongs to no form and lives until the program ends.
QPointer<HelpWindow> viewer;
int windowsCreated = 0;

// A screen reader announces the viewer as a window with its title.
QAccessibleInterface* viewerAccessible(const QString&, QObject* object) {
    return viewer && object == viewer.data() ? new QAccessibleWidget(viewer, QAccessible::Window) : nullptr;
}

HelpWindow& window() {
    if (!viewer) {
        if (windowsCreated == 0) QAccessible::installFactory(viewerAccessible);
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
