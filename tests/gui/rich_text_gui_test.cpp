// The rich-text view, layers, multi-line labels and one-off label fonts on real widgets.
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"

namespace {

// Layer 1 a label, layer 2 a rich-text view, layer 0 a button and a one-off font label.
void pagedForm(const std::string&) {
    EZ_USEFONT(6);
    EZ_SETLAYER(1);
    EZ_LABEL(1, 1, 1, 20, 2, "first|second", "C");
    EZ_SETLAYER(2);
    EZ_RICHTEXT(2, 1, 1, 30, 10, "STV");
    EZ_SETLAYER(0);
    EZ_BUTTON(3, 1, 12, 8, 1.5, "Go", "T");
    EZ_USEFONTFACE("Segoe UI", 12, "BV");
    EZ_LABEL(4, 10, 12, 10, 1.5, "Big", "C");
    EZ_USEFONT(6);
    EZ_LABEL(5, 20, 12, 10, 1.5, "Small", "C");
}

class RichTextTest : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        design = pagedForm;
        EZ_FORM("P", "", "Pages", 0, 0, 34, 14, "");
        driver::SETTLE();
    }
    QTextDocument& page() { return *qobject_cast<QTextEdit*>(gui::findControl("P", 2))->document(); }
    QTextCharFormat formatAt(const QString& text) {
        QTextCursor found = page().find(text);
        EXPECT_FALSE(found.isNull()) << text.toStdString();
        QTextCursor at(&page());
        at.setPosition(found.selectionStart() + 1);
        return at.charFormat();
    }
};

TEST_F(RichTextTest, LayersShowOnePageOverTheCommonControls) {
    EZ_DISPLAYLAYER("P", 1);
    EXPECT_TRUE(EZ_ISVISIBLE("P", 1));
    EXPECT_FALSE(EZ_ISVISIBLE("P", 2));
    EXPECT_TRUE(EZ_ISVISIBLE("P", 3));
    EZ_DISPLAYLAYER("P", 2);
    EXPECT_FALSE(EZ_ISVISIBLE("P", 1));
    EXPECT_TRUE(EZ_ISVISIBLE("P", 2));
    EXPECT_TRUE(EZ_ISVISIBLE("P", 3));
    EXPECT_TRUE(EZ_ISVISIBLE("P", 4));
}

TEST_F(RichTextTest, LabelsBreakAtBarsAndTakeTheirOwnFont) {
    auto* label = qobject_cast<QLabel*>(gui::findControl("P", 1));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "first\nsecond");
    EXPECT_EQ(EZ_GETTEXT("P", 1), "first|second");
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    EZ_SETTEXT("P", 1, "a|b|c");
    EXPECT_EQ(label->text(), "a\nb\nc");
    QFont big = gui::findControl("P", 4)->font();
    EXPECT_TRUE(big.bold());
    EXPECT_DOUBLE_EQ(big.pointSizeF(), 12);
    QFont small = gui::findControl("P", 5)->font();
    EXPECT_FALSE(small.bold());
    EXPECT_DOUBLE_EQ(small.pointSizeF(), 9);
}

TEST_F(RichTextTest, RtfIsRenderedWithItsFormats) {
    EZ_SETRICHTEXT(
        "P", 2,
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}\\qc\\b\\fs32 Title\\b0\\par"
        "\\pard\\li720\\cf1\\i\\fs20 red italic\\par}",
        1);
    EXPECT_EQ(EZ_GETTEXT("P", 2), "Title\nred italic");
    EXPECT_EQ(page().blockCount(), 2);
    EXPECT_TRUE(page().firstBlock().blockFormat().alignment() & Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(page().lastBlock().blockFormat().leftMargin(), 48);
    QTextCharFormat title = formatAt("Title");
    EXPECT_EQ(title.font().weight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.font().pointSizeF(), 16);
    QTextCharFormat body = formatAt("red italic");
    EXPECT_TRUE(body.font().italic());
    EXPECT_NE(body.font().weight(), QFont::Bold);
    EXPECT_EQ(body.foreground().color(), QColor(200, 0, 0));
    EXPECT_DOUBLE_EQ(body.font().pointSizeF(), 10);
    // The same bytes as plain text are shown as they stand.
    EZ_SETRICHTEXT("P", 2, "{\\rtf1 \\b raw}", 0);
    EXPECT_EQ(EZ_GETTEXT("P", 2), "{\\rtf1 \\b raw}");
}

TEST_F(RichTextTest, TheViewShowsNoMoreThanItsLimit) {
    const std::string longText(40000, 'x');
    EZ_SETRICHTEXT("P", 2, longText, 0);
    EXPECT_EQ(EZ_GETTEXT("P", 2).size(), 32767u);
    EZ_SETRICHTEXTLEN("P", 2, 50000);
    EZ_SETRICHTEXT("P", 2, "{\\rtf1 " + longText + "}", 1);
    EXPECT_EQ(EZ_GETTEXT("P", 2), longText);
    EZ_SETRICHTEXTLEN("P", 2, 5);
    EZ_SETRICHTEXT("P", 2, "abcdefgh", 0);
    EXPECT_EQ(EZ_GETTEXT("P", 2), "abcde");
}

}  // namespace
