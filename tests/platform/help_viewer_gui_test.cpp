// The help viewer as the user sees it: the right page for each request, one window for all of
// them, links and the Back and Forward buttons, and a plain report of a help file it cannot show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
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

    const std::map<int32_t, std::string> topics = {{100, "/calculator.htm"},
                                                   {105, "/results.htm"},
                                                   {130, "/printing.htm"},
                                                   {135, "/station_editor.htm"},
                                                   {145, "/station_rows.htm"}};
    for (const auto& [topic, file] : topics) {
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
