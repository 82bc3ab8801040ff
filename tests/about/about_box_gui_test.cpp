// The About box as a user meets it: opened from the calculator's menu, both pages, the history.
#include <sys/stat.h>

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextEdit>

#include "about/about_box.h"
#include "about/about_box_ids.h"
#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"
#include "update/addresses.h"
#include "util/dates.h"

namespace {

const std::string kAbout = "AB";
void openAbout() { driver::CHOOSEMENU("RI", RI::MENU_ABOUT); }

class AboutBoxTest : public CalculatorTest {
protected:
    void writeHistory(const QByteArray& bytes) {
        QFile file(history());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString history() const { return path("History.rtf"); }

    // Opens the box from the menu, runs the checks while it is open, then closes it.
    void withAboutBox(const std::function<void()>& checks) {
        EXPECT_TRUE(inForm(kAbout, openAbout, [&] {
            checks();
            driver::CLICK(kAbout, AB::CLOSE_BUTTON);
        }));
        EXPECT_FALSE(EZ_FORMEXISTS(kAbout));
    }
};

QLabel* label(int32_t id) { return qobject_cast<QLabel*>(gui::findControl(kAbout, id)); }

bool informationPageShown() {
    for (int32_t id : {100, 105, 110, 115, 120})
        if (!EZ_ISVISIBLE(kAbout, id)) return false;
    return !EZ_ISVISIBLE(kAbout, AB::HISTORY) && EZ_ISVISIBLE(kAbout, AB::CLOSE_BUTTON) &&
           EZ_ISVISIBLE(kAbout, AB::HISTORY_BUTTON);
}

TEST_F(AboutBoxTest, InformationPageShowsNameVersionAndReleaseDate) {
    withAboutBox([] {
        EXPECT_EQ(EZ_GETTEXT(kAbout, 0), "About Tarvex");
        EXPECT_EQ(EZ_CURRENTFORM(), kAbout);
        EXPECT_TRUE(informationPageShown());
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::PRODUCT), "Tarvex");
        QFont name = label(AB::PRODUCT)->font();
        EXPECT_TRUE(name.bold());
        EXPECT_DOUBLE_EQ(name.pointSizeF(), 12);
        std::string built = GETBUILDDATE();
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::VERSION),
                  "Version " TARVEX_VERSION_TEXT " \u2014 Released " + FORMATDATE(built, 0));
        EXPECT_TRUE(QRegularExpression("^Version " + QRegularExpression::escape(TARVEX_VERSION_TEXT) +
                                       " \u2014 Released \\d\\d-\\d\\d-\\d{4}$")
                        .match(label(AB::VERSION)->text())
                        .hasMatch())
            << label(AB::VERSION)->text().toStdString();
        EXPECT_TRUE(label(AB::VERSION)->font().bold());
        EXPECT_DOUBLE_EQ(label(AB::VERSION)->font().pointSizeF(), 9);
        // Each text of the page is centred, its "|" a line break: two, two and three lines.
        for (auto [id, lines] : {std::pair{110, 2}, {115, 2}, {120, 3}}) {
            EXPECT_EQ(label(id)->text().count('\n') + 1, lines) << id;
            EXPECT_TRUE(label(id)->alignment() & Qt::AlignHCenter) << id;
            EXPECT_FALSE(label(id)->font().bold()) << id;
        }
        EXPECT_TRUE(EZ_GETTEXT(kAbout, AB::COPYRIGHT).find("|All rights reserved.") != std::string::npos);
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::WEB_SITE),
                  "Visit our web site for other helpful programs:|" + ProductWebPage);
        EXPECT_TRUE(EZ_GETTEXT(kAbout, AB::THANKS).ends_with("of Tarvex."));
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::HISTORY_BUTTON), "&View Program History");
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::CLOSE_BUTTON), "&Close");
        // Every caption fits its control.
        for (int32_t id : {100, 105, 110, 115, 120})
            EXPECT_LE(label(id)->sizeHint().width(), label(id)->width()) << id;
        for (int32_t id : {130, 135}) {
            auto* button = qobject_cast<QPushButton*>(gui::findControl(kAbout, id));
            QString caption = button->text().remove('&');
            EXPECT_LE(button->fontMetrics().horizontalAdvance(caption) + 12, button->width()) << id;
        }
    });
}

TEST_F(AboutBoxTest, ToggleSwitchesPagesAndBack) {
    withAboutBox([] {
        driver::CLICK(kAbout, AB::HISTORY_BUTTON);
        EXPECT_EQ(AboutPage, 2);
        EXPECT_TRUE(EZ_ISVISIBLE(kAbout, AB::HISTORY));
        EXPECT_FALSE(EZ_ISVISIBLE(kAbout, AB::PRODUCT));
        EXPECT_FALSE(EZ_ISVISIBLE(kAbout, AB::THANKS));
        EXPECT_TRUE(EZ_ISVISIBLE(kAbout, AB::CLOSE_BUTTON));
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::HISTORY_BUTTON), "&View Program Info");
        driver::CLICK(kAbout, AB::HISTORY_BUTTON);
        EXPECT_EQ(AboutPage, 1);
        EXPECT_TRUE(informationPageShown());
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::HISTORY_BUTTON), "&View Program History");
    });
}

TEST_F(AboutBoxTest, ClosedOnTheHistoryPageItOpensOnTheInformationPage) {
    EXPECT_TRUE(inForm(kAbout, openAbout, [] {
        driver::CLICK(kAbout, AB::HISTORY_BUTTON);
        driver::CLOSEBOX(kAbout);
    }));
    EXPECT_FALSE(EZ_FORMEXISTS(kAbout));
    withAboutBox([] {
        EXPECT_EQ(AboutPage, 1);
        EXPECT_TRUE(informationPageShown());
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::HISTORY_BUTTON), "&View Program History");
    });
}

TEST_F(AboutBoxTest, TheProgramsOwnHistoryIsShownFormatted) {
    QFile shipped(QDir(TARVEX_PROGRAM_DIR).filePath("History.rtf"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    writeHistory(shipped.readAll());
    withAboutBox([] {
        driver::CLICK(kAbout, AB::HISTORY_BUTTON);
        const std::string text = EZ_GETTEXT(kAbout, AB::HISTORY);
        EXPECT_TRUE(text.starts_with("Tarvex Program History\nVersion " TARVEX_VERSION_TEXT "\n")) << text;
        EXPECT_NE(text.find("Version 1.0"), std::string::npos);
        EXPECT_NE(text.find("Montr\u00e9al"), std::string::npos);
        EXPECT_EQ(text.find("\\"), std::string::npos);
        QTextDocument* page = qobject_cast<QTextEdit*>(gui::findControl(kAbout, AB::HISTORY))->document();
        QTextCursor heading = page->find("Version " TARVEX_VERSION_TEXT);
        ASSERT_FALSE(heading.isNull());
        EXPECT_EQ(heading.charFormat().font().weight(), QFont::Bold);
        QTextCursor item = page->find("The About box shows");
        ASSERT_FALSE(item.isNull());
        EXPECT_NE(item.charFormat().font().weight(), QFont::Bold);
    });
}

TEST_F(AboutBoxTest, AHistoryLargerThanTheViewsDefaultLimitIsShownWhole) {
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int line = 0; line < 1200; ++line)
        rtf += "Entry " + QByteArray::number(line) + " of the long history.\\par\n";
    rtf += "THE END}";
    writeHistory(rtf);
    withAboutBox([] {
        const std::string text = EZ_GETTEXT(kAbout, AB::HISTORY);
        EXPECT_GT(text.size(), 32767u);
        EXPECT_TRUE(text.ends_with("THE END")) << text.substr(text.size() - 40);
    });
}

TEST_F(AboutBoxTest, AMissingOrUnreadableHistoryGivesAnEmptyPageAndNoMessage) {
    auto emptyAndQuiet = [] {
        EXPECT_EQ(EZ_GETTEXT(kAbout, AB::HISTORY), "");
        EXPECT_EQ(EZ_CURRENTFORM(), kAbout);
        EXPECT_FALSE(EZ_FORMEXISTS("DGMSGBOX1"));
    };
    withAboutBox(emptyAndQuiet);
    // Too large to be the program's history: never read.
    {
        QFile huge(history());
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(17 << 20));
    }
    withAboutBox(emptyAndQuiet);
    // A pipe of that name would block a reader for ever.
    ASSERT_TRUE(QFile::remove(history()));
    ASSERT_EQ(::mkfifo(history().toLocal8Bit().constData(), 0600), 0);
    withAboutBox(emptyAndQuiet);
}

// The keyboard alone: Enter on the focused toggle switches the page, Enter on "&Close" closes;
// a screen reader hears a dialog with its caption.
TEST_F(AboutBoxTest, TheKeyboardWorksItAndAScreenReaderHearsADialog) {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    std::string history, typedBehind = "?";
    EXPECT_TRUE(inForm(kAbout, openAbout, [&] {
        QAccessibleInterface* box =
            QAccessible::queryAccessibleInterface(gui::findControl(kAbout, AB::CLOSE_BUTTON)->window());
        role = box->role();
        name = box->text(QAccessible::Name);
        driver::FOCUS(kAbout, AB::HISTORY_BUTTON);
        driver::PRESS(kAbout, AB::HISTORY_BUTTON, "Enter");
        EXPECT_EQ(AboutPage, 2);
        history = driver::ACCESSIBLENAME(kAbout, AB::HISTORY);
        driver::TYPE("RI", RI::CUSTOMER, "typed behind the box");  // the calculator takes no input meanwhile
        typedBehind = EZ_GETTEXT("RI", RI::CUSTOMER);
        driver::FOCUS(kAbout, AB::CLOSE_BUTTON);
        driver::PRESS(kAbout, AB::CLOSE_BUTTON, "Escape");
    }));
    EXPECT_FALSE(EZ_FORMEXISTS(kAbout));
    EXPECT_EQ(role, QAccessible::Dialog);
    EXPECT_EQ(name, "About Tarvex");
    EXPECT_EQ(history, "Program history");
    EXPECT_EQ(typedBehind, "");
}

}  // namespace
