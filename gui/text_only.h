// Multi-line boxes that take only the text of what is pasted or dropped into them.
#pragma once

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace gui {

// As many characters as a multi-line box holds, as a native edit control of its default size.
constexpr qsizetype kMaxBoxText = 32767;

// The plain text of what is pasted or dropped: its text, else the text of its HTML, else
// nothing. Only the start of HTML is read, so a huge clipboard cannot stall the window.
inline QString carriedText(const QMimeData* source) {
    if (!source) return {};
    if (source->hasText()) return source->text();
    if (source->hasHtml()) return QTextDocumentFragment::fromHtml(source->html().left(8 * kMaxBoxText)).toPlainText();
    return {};
}

// Qt's own insertion takes images and formatting, and Qt 6.4 crashes on a paste of a clipboard
// that offers no format at all; this box inserts the carried text, cut to the room it has left.
template <class Box>
class TextOnly : public Box {
public:
    using Box::Box;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return !carriedText(source).isEmpty(); }

    void insertFromMimeData(const QMimeData* source) override {
        const QString text = carriedText(source);
        const QTextCursor cursor = this->textCursor();
        const qsizetype kept = this->document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
        const qsizetype room = kMaxBoxText - kept;
        if (text.isEmpty() || room <= 0) return;
        // Never half of a character outside the Basic Multilingual Plane.
        QString part = text.left(room);
        if (part.size() < text.size() && part.back().isHighSurrogate()) part.chop(1);
        this->insertPlainText(part);
        this->ensureCursorVisible();
    }
};

}  // namespace gui
