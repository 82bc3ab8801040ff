// The help viewer as the user sees it: the right page for each request, one window for all of
// them, links and the Back and Forward buttons, and a plain report of a help file it cannot show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "platform/help_file.h"
#include "platform/help_viewer.h"

namespace {

namespace fs = std::filesystem;

const std::string kHelpFile = TARVEX_HELP_FILE;
const fs::path kHelpSources = fs::path(__FILE__).parent_path().parent_path().parent_path() / "resources/help";
const std::string kNoHelp = "There is no help for this item.";

QWidget* viewerWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->findChild<QTextBrowser*>("page")) return window;
    return nullptr;
}

QTextBrowser* page() { return viewerWindow()->findChild<QTextBrowser*>("page"); }

QTreeWidget* contents() { return viewerWindow()->findChild<QTreeWidget*>("contents"); }

// Clicks the toolbar button of one of the viewer's actions ("back", "forward", "home").
void clickButton(const char* name) {
    QAction* action = viewerWindow()->findChild<QAction*>(name);
    ASSERT_TRUE(action) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    QWidget* button = viewerWindow()->findChild<QToolBar*>()->widgetForAction(action);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks a link of the page shown, found by its text, as the user would.
void clickLink(const QString& text) {
    QTextBrowser* browser = page();
    QTextCursor found = browser->document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 2);
    browser->setTextCursor(inside);
    browser->ensureCursorVisible();
    QPoint at = browser->cursorRect(inside).center();
    ASSERT_FALSE(browser->anchorAt(at).isEmpty()) << text.toStdString();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
}

// The title of a page as the table of contents names it.
std::map<std::string, std::string> contentsNames() {
    std::map<std::string, std::string> names;
    const std::vector<help::ContentsEntry> tree = help::HelpFile::open(kHelpFile)->contents();
    std::vector<const help::ContentsEntry*> open;
    for (const help::ContentsEntry& entry : tree) open.push_back(&entry);
    while (!open.empty()) {
        const help::ContentsEntry* entry = open.back();
        open.pop_back();
        if (!entry->file.empty()) names[entry->file] = entry->name;
        for (const help::ContentsEntry& child : entry->children) open.push_back(&child);
    }
    return names;
}

TEST(HelpViewer, OpensAtTheContentsAndAtEachTopic) {
    OS_SHOWHELPCONTENTS(kHelpFile);
    EXPECT_TRUE(OS_HELPVISIBLE());
    EXPECT_EQ(viewerWindow()->windowTitle(), "Tarvex Help");
    EXPECT_EQ(OS_HELPPAGE(), "/getting_started.htm");
    EXPECT_TRUE(OS_HELPTEXT().starts_with("Getting Started with Tarvex")) << OS_HELPTEXT();

    // The tree holds every entry of the contents, opened out, with the page shown marked.
    std::map<std::string, std::string> names = contentsNames();
    std::set<std::string> inTree;
    for (QTreeWidgetItemIterator it(contents()); *it; ++it) {
        inTree.insert((*it)->text(0).toStdString());
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded()) << (*it)->text(0).toStdString();
        }
    }
    for (const auto& [file, name] : names) EXPECT_TRUE(inTree.count(name)) << name;
    ASSERT_TRUE(contents()->currentItem());
    EXPECT_EQ(contents()->currentItem()->text(0).toStdString(), names.at("/getting_started.htm"));

    // Every topic opens from its number, stands in the contents and is a keyword's page.
    std::set<std::string> indexed;
    for (const help::ContentsEntry& keyword : help::HelpFile::open(kHelpFile)->index()) indexed.insert(keyword.file);
    const std::map<int32_t, std::string> topics = {
        {100, "/calculator.htm"}, {102, "/getting_started.htm"}, {105, "/results.htm"},  {110, "/inputs.htm"},
        {115, "/comments.htm"},   {120, "/buttons.htm"},         {130, "/printing.htm"}, {135, "/station_editor.htm"},
        {145, "/station_rows.htm"}, {150, "/saving.htm"},        {155, "/opening.htm"},  {160, "/comparing.htm"},
        {165, "/exporting.htm"},  {170, "/updating.htm"}};
    for (const auto& [topic, file] : topics) {
        EXPECT_TRUE(indexed.count(file)) << file;
        OS_SHOWHELPTOPIC(kHelpFile, topic);
        EXPECT_EQ(OS_HELPPAGE(), file) << topic;
        // Each page opens with its own heading, the name the contents give it.
        EXPECT_TRUE(OS_HELPTEXT().starts_with(names.at(file))) << topic << ": " << OS_HELPTEXT();
        EXPECT_EQ(OS_HELPTEXT().find(kNoHelp), std::string::npos) << topic;
        EXPECT_EQ(contents()->currentItem()->text(0).toStdString(), names.at(file)) << topic;
    }
}

TEST(HelpViewer, PagesTakeTheirStylesheetAndPicturesFromTheHelpFile) {
    OS_SHOWHELPTOPIC(kHelpFile, 105);
    QTextBrowser* browser = page();
    QImage picture = QImage::fromData(
        browser->loadResource(QTextDocument::ImageResource, QUrl("help:/images/calculation.png"))
            .toByteArray());
    QImage source(QString::fromStdString((kHelpSources / "images/calculation.png").string()));
    ASSERT_FALSE(source.isNull());
    EXPECT_EQ(picture, source);
    EXPECT_TRUE(browser->loadResource(QTextDocument::ImageResource, QUrl("help:/images/none.png")).isNull());

    // The heading is coloured by the stylesheet inside the help file.
    QTextCursor heading = browser->document()->find("Understanding the Results");
    ASSERT_FALSE(heading.isNull());
    EXPECT_EQ(heading.charFormat().foreground().color(), QColor("#1f3f66"));
    bool hasPicture = false;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().isImageFormat()) hasPicture = true;
    EXPECT_TRUE(hasPicture);
}

TEST(HelpViewer, TopicsTheFileLacksShowTheDefaultPageUnderANoHelpLine) {
    for (int32_t topic : {0, 999, -5}) {
        OS_SHOWHELPTOPIC(kHelpFile, topic);
        EXPECT_EQ(OS_HELPPAGE(), "/getting_started.htm") << topic;
        EXPECT_TRUE(OS_HELPTEXT().starts_with(kNoHelp + "\n")) << topic << ": " << OS_HELPTEXT();
        EXPECT_NE(OS_HELPTEXT().find("Getting Started with Tarvex"), std::string::npos) << topic;
    }
    OS_SHOWHELPCONTENTS(kHelpFile);
    EXPECT_EQ(OS_HELPPAGE(), "/getting_started.htm");
    EXPECT_EQ(OS_HELPTEXT().find(kNoHelp), std::string::npos);
}

TEST(HelpViewer, AHelpFileItCannotShowIsReportedInTheViewer) {
    const fs::path folder = fs::temp_directory_path() / ("tarvex-viewer-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string missing = (folder / "Missing Help.chm").string();
    const std::string damaged = (folder / "Damaged Help.chm").string();
    std::ofstream(damaged, std::ios::binary) << std::string(5000, 'x');

    OS_SHOWHELPTOPIC(missing, 100);
    EXPECT_TRUE(OS_HELPVISIBLE());
    EXPECT_EQ(OS_HELPPAGE(), "");
    EXPECT_NE(OS_HELPTEXT().find("The help file \"" + missing + "\" could not be found."), std::string::npos)
        << OS_HELPTEXT();
    EXPECT_EQ(contents()->topLevelItemCount(), 0);

    OS_SHOWHELPCONTENTS(damaged);
    EXPECT_EQ(OS_HELPPAGE(), "");
    EXPECT_NE(OS_HELPTEXT().find("The help file \"" + damaged + "\" could not be read. It may be damaged."),
              std::string::npos)
        << OS_HELPTEXT();
    EXPECT_FALSE(viewerWindow()->findChild<QAction*>("back")->isEnabled());

    // A sound file shows again once it is asked for.
    OS_SHOWHELPTOPIC(kHelpFile, 135);
    EXPECT_EQ(OS_HELPPAGE(), "/station_editor.htm");
    EXPECT_GT(contents()->topLevelItemCount(), 0);
    fs::remove_all(folder);
}

// The help file's reader crashes or loops on some damaged files, so the viewer hands it only the
// very file the build made: an exact copy shows, a copy with bytes changed is reported as damaged.
TEST(HelpViewer, OnlyTheHelpFileTheBuildMadeIsRead) {
    const fs::path folder = fs::temp_directory_path() / ("tarvex-copies-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string exact = (folder / "Copy.chm").string();
    const std::string changed = (folder / "Changed.chm").string();
    fs::copy_file(kHelpFile, exact);
    std::string bytes;
    {
        std::ifstream in(kHelpFile, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(bytes.size(), 8192u);
    for (size_t at = 4096; at < bytes.size(); at += 4096) bytes[at] = char(bytes[at] ^ 0x5A);
    std::ofstream(changed, std::ios::binary) << bytes;
    ASSERT_TRUE(help::HelpFile::open(changed)) << "the reader below the check still opens the changed copy";

    OS_SHOWHELPTOPIC(exact, 135);
    EXPECT_EQ(OS_HELPPAGE(), "/station_editor.htm");
    OS_SHOWHELPCONTENTS(changed);
    EXPECT_EQ(OS_HELPPAGE(), "");
    EXPECT_NE(OS_HELPTEXT().find("The help file \"" + changed + "\" could not be read. It may be damaged."),
              std::string::npos)
        << OS_HELPTEXT();
    EXPECT_EQ(contents()->topLevelItemCount(), 0);
    fs::remove_all(folder);
}

TEST(HelpViewer, EveryRequestReusesTheOneWindow) {
    OS_SHOWHELPCONTENTS(kHelpFile);
    OS_SHOWHELPTOPIC(kHelpFile, 130);
    OS_SHOWHELPTOPIC(kHelpFile, 999);
    EXPECT_EQ(OS_HELPWINDOWCOUNT(), 1);

    OS_HELPCLOSE();
    EXPECT_FALSE(OS_HELPVISIBLE());
    OS_SHOWHELPTOPIC(kHelpFile, 145);
    EXPECT_TRUE(OS_HELPVISIBLE());
    EXPECT_EQ(OS_HELPPAGE(), "/station_rows.htm");
    EXPECT_EQ(OS_HELPWINDOWCOUNT(), 1);

    int viewers = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->findChild<QTextBrowser*>("page")) ++viewers;
    EXPECT_EQ(viewers, 1);
}

TEST(HelpViewer, BackAndForwardRetraceTheLinksFollowed) {
    OS_SHOWHELPTOPIC(kHelpFile, 100);
    ASSERT_EQ(OS_HELPPAGE(), "/calculator.htm");
    clickLink("Understanding the results");
    EXPECT_EQ(OS_HELPPAGE(), "/results.htm");
    clickLink("Stations on the calculator");
    EXPECT_EQ(OS_HELPPAGE(), "/station_rows.htm");

    clickButton("back");
    EXPECT_EQ(OS_HELPPAGE(), "/results.htm");
    clickButton("back");
    EXPECT_EQ(OS_HELPPAGE(), "/calculator.htm");
    clickButton("forward");
    EXPECT_EQ(OS_HELPPAGE(), "/results.htm");
    EXPECT_TRUE(OS_HELPTEXT().starts_with("Understanding the Results"));

    // Choosing an entry of the contents opens its page; Home goes back to the first page.
    for (QTreeWidgetItemIterator it(contents()); *it; ++it)
        if ((*it)->text(0) == "Printing the Analysis") contents()->setCurrentItem(*it);
    EXPECT_EQ(OS_HELPPAGE(), "/printing.htm");
    clickButton("home");
    EXPECT_EQ(OS_HELPPAGE(), "/getting_started.htm");
    clickButton("back");
    EXPECT_EQ(OS_HELPPAGE(), "/printing.htm");
}

}  // namespace

namespace {

QTextImageFormat firstPicture() {
    for (QTextBlock block = page()->document()->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().isImageFormat()) return fragment.fragment().charFormat().toImageFormat();
    return {};
}

// A picture wider than the page shrinks to the page's width, keeping its shape; it grows back.
TEST(HelpViewer, PicturesAreScaledToThePageWidth) {
    OS_SHOWHELPTOPIC(kHelpFile, 105);
    QWidget* window = viewerWindow();
    window->resize(1200, 700);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(firstPicture().width(), 560);
    window->resize(520, 600);
    QCoreApplication::processEvents();
    const qreal room = page()->viewport()->width() - 2 * page()->document()->documentMargin();
    ASSERT_LT(room, 560);
    EXPECT_LE(firstPicture().width(), room);
    EXPECT_GT(firstPicture().width(), room - 10);
    EXPECT_NEAR(firstPicture().height(), firstPicture().width() * 60 / 560, 0.5);
    window->resize(1200, 700);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(firstPicture().width(), 560);
    OS_HELPCLOSE();
}

TEST(HelpViewer, TheIndexTabListsTheCompiledKeywordsAndOpensTheirPages) {
    OS_SHOWHELPCONTENTS(kHelpFile);
    auto* tabs = viewerWindow()->findChild<QTabWidget*>("tabs");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), "Contents");
    EXPECT_EQ(tabs->tabText(1), "Index");
    EXPECT_EQ(tabs->tabText(2), "Search");
    tabs->setCurrentIndex(1);
    auto* keywords = viewerWindow()->findChild<QListWidget*>("index");
    ASSERT_NE(keywords, nullptr);
    ASSERT_GT(keywords->count(), 10);
    EXPECT_EQ(keywords->item(0)->text(), "Advertising Investment");
    // Typing narrows the list; Enter opens the first keyword left.
    auto* filter = viewerWindow()->findChild<QLineEdit*>("indexFilter");
    QTest::keyClicks(filter, "cum");
    std::vector<std::string> shown;
    for (int row = 0; row < keywords->count(); ++row)
        if (!keywords->item(row)->isHidden()) shown.push_back(keywords->item(row)->text().toStdString());
    EXPECT_EQ(shown, std::vector<std::string>{"Cume"});
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(OS_HELPPAGE(), "/station_editor.htm");
    // A word inside a keyword finds it too.
    filter->clear();
    QTest::keyClicks(filter, "resp");
    shown.clear();
    for (int row = 0; row < keywords->count(); ++row)
        if (!keywords->item(row)->isHidden()) shown.push_back(keywords->item(row)->text().toStdString());
    EXPECT_EQ(shown, (std::vector<std::string>{"Listeners per response", "Total Responses Needed"}));
    OS_HELPCLOSE();
}

TEST(HelpViewer, SearchFindsThePagesThatHoldAllTheWords) {
    OS_SHOWHELPCONTENTS(kHelpFile);
    auto* field = viewerWindow()->findChild<QLineEdit*>("searchField");
    auto* results = viewerWindow()->findChild<QListWidget*>("searchResults");
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "cancel CUMES");
    QTest::keyClick(field, Qt::Key_Return);
    // Only the station editor's page holds both words, in any letter case, "cume" for "cumes".
    ASSERT_EQ(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), "Adding and Editing Stations");
    QListWidgetItem* first = results->item(0);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, Qt::NoModifier, results->visualItemRect(first).center());
    EXPECT_NE(OS_HELPPAGE(), "");
    EXPECT_NE(OS_HELPTEXT().find("Cancel"), std::string::npos);
    field->clear();
    QTest::keyClicks(field, "xyzzy plugh");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), "No topic holds these words.");
    // The pages on saving, opening, comparing, exporting and updating are found by their words.
    const std::pair<const char*, const char*> found[] = {{"scenario Ctrl+S", "Saving an Analysis"},
                                                         {"rename delete", "Opening Saved Analyses"},
                                                         {"yellow bold", "Comparing Analyses"},
                                                         {"spreadsheet formula", "Exporting Analyses"},
                                                         {"apt installer", "Updating Tarvex"}};
    for (const auto& [words, title] : found) {
        field->clear();
        QTest::keyClicks(field, words);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_FALSE(results->findItems(title, Qt::MatchExactly).isEmpty()) << words;
    }
    OS_HELPCLOSE();
}

TEST(HelpViewer, AScreenReaderAnnouncesAWindowWithItsTitle) {
    OS_SHOWHELPTOPIC(kHelpFile, 130);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(viewerWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), viewerWindow()->windowTitle());
    EXPECT_FALSE(viewerWindow()->windowTitle().isEmpty());
    OS_HELPCLOSE();
}

}  // namespace
