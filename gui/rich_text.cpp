// The rich-text view: a read-only, scrolling page that shows plain text or an RTF file, read by
// the layer's own RTF reader and rendered into the view's document.
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "gui/registry.h"
#include "gui/rtf_reader.h"
#include "gui/text_only.h"

namespace gui {
namespace {

const char* kLimit = "ezTextLimit";

// Twips are 1/1440 inch; the view lays out at 96 pixels an inch.
qreal pixels(int twips) { return twips / 15.0; }

Qt::Alignment alignmentOf(rtf::Align align) {
    switch (align) {
        case rtf::Align::Centre: return Qt::AlignHCenter;
        case rtf::Align::Right: return Qt::AlignRight;
        case rtf::Align::Justify: return Qt::AlignJustify;
        case rtf::Align::Left: break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat formatOf(const rtf::Run& run, const QFont& base) {
    QTextCharFormat format;
    QFont font = base;
    if (!run.font.empty()) font.setFamilies({QString::fromStdString(run.font), base.family()});
    font.setPointSizeF(run.halfPoints / 2.0);
    font.setBold(run.bold);
    font.setItalic(run.italic);
    font.setUnderline(run.underline);
    format.setFont(font);
    if (run.colour) format.setForeground(QColor(run.colour->red, run.colour->green, run.colour->blue));
    return format;
}

void render(const rtf::Document& document, QTextDocument& page, const QFont& base) {
    page.clear();
    QTextCursor cursor(&page);
    cursor.beginEditBlock();
    bool first = true;
    for (const rtf::Paragraph& paragraph : document.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(alignmentOf(paragraph.align));
        block.setLeftMargin(pixels(paragraph.leftIndent));
        block.setRightMargin(pixels(paragraph.rightIndent));
        block.setTextIndent(pixels(paragraph.firstIndent));
        block.setTopMargin(pixels(paragraph.spaceBefore));
        block.setBottomMargin(pixels(paragraph.spaceAfter));
        // A hanging first line has a tab stop at the left indent, where the item's text starts
        // after its bullet; tab positions count from the start of the first line.
        if (paragraph.firstIndent < 0)
            block.setTabPositions({QTextOption::Tab(-pixels(paragraph.firstIndent), QTextOption::LeftTab)});
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const rtf::Run& run : paragraph.runs)
            cursor.insertText(QString::fromStdString(run.text), formatOf(run, base));
    }
    cursor.endEditBlock();
}

// What lies beyond the view's limit is not shown, as in a text control of that size.
void cutToLimit(QTextDocument& page, int limit) {
    if (page.characterCount() - 1 <= limit) return;
    QTextCursor cursor(&page);
    cursor.setPosition(limit);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

}  // namespace
}  // namespace gui

// "V" shows a vertical scroll bar when the text is longer than the view; "T" is a Tab stop.
void EZ_RICHTEXT(int32_t id, double col, double row, double width, double height, const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* view = new gui::TextOnly<QTextEdit>(form->client);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setVerticalScrollBarPolicy(gui::has(props, 'V') ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFocusPolicy(gui::tabPolicy(props));
    view->setProperty(gui::kLimit, static_cast<int>(gui::kMaxBoxText));
    gui::placeControl(*form, id, view, col, row, width, height);
}

void EZ_SETRICHTEXTLEN(const std::string& form, int32_t id, int32_t length) {
    if (auto* view = qobject_cast<QTextEdit*>(gui::findControl(form, id)))
        view->setProperty(gui::kLimit, std::max(length, 0));
}

void EZ_SETRICHTEXT(const std::string& form, int32_t id, const std::string& text, int32_t isRtf) {
    auto* view = qobject_cast<QTextEdit*>(gui::findControl(form, id));
    if (!view) return;
    rtf::Document document = isRtf == 1 ? rtf::readRtf(text) : rtf::readPlainText(text);
    gui::render(document, *view->document(), view->font());
    gui::cutToLimit(*view->document(), view->property(gui::kLimit).toInt());
    view->moveCursor(QTextCursor::Start);
}
