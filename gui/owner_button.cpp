// Owner-drawn buttons: the program paints them through the drawing operations below.
#include <QPainter>
#include <QStyleOptionButton>

#include "gui/owner_button.h"
#include "gui/registry.h"

namespace gui {
namespace {

// The button being painted while its message 300 is handled, and whether anything was drawn.
struct Painting {
    OwnerButton* button = nullptr;
    QPainter* painter = nullptr;
    int32_t state = 0;
    bool drawn = false;
};
Painting current;

}  // namespace

OwnerButton::OwnerButton(const std::string& form, int32_t id, const QString& text, QWidget* parent)
    : QPushButton(text, parent), form_(form), id_(id) {
    setAttribute(Qt::WA_Hover);
}

void OwnerButton::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Painting outer = current;
    int32_t state = (isDown() ? Pressed : 0) | (hasFocus() ? Focused : 0) |
                    (isEnabled() ? 0 : Disabled) | (underMouse() ? Hovered : 0);
    current = {this, &painter, state, false};
    int32_t value = state;
    int32_t cancel = 0;
    dispatch(form_, id_, EZ_MSG_OWNERDRAW, value, cancel);
    bool drawn = current.drawn;
    current = outer;
    painter.end();
    // A button the program did not paint still looks like a button.
    if (!drawn) QPushButton::paintEvent(event);
}

}  // namespace gui

// A flat button in the given face colour, with a darker edge, sunk while pressed.
void EZ_DRAWCOLORBUTTON(int32_t face, int32_t caption, int32_t font) {
    using gui::current;
    if (!current.button) return;
    QPainter& p = *current.painter;
    QRectF box = QRectF(current.button->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor faceColour = current.button->palette().color(QPalette::Button);
    gui::colourFor(face, faceColour);
    QColor textColour = current.button->palette().color(QPalette::ButtonText);
    gui::colourFor(caption, textColour);
    bool pressed = current.state & gui::OwnerButton::Pressed;
    bool disabled = current.state & gui::OwnerButton::Disabled;
    if (current.state & gui::OwnerButton::Hovered) faceColour = faceColour.lighter(106);
    if (pressed) faceColour = faceColour.darker(112);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(faceColour.darker(160));
    p.setBrush(faceColour);
    p.drawRoundedRect(box, 3, 3);
    p.setFont(gui::fontFor(font < 0 ? 0 : font));
    p.setPen(disabled ? current.button->palette().color(QPalette::Disabled, QPalette::ButtonText)
                      : textColour);
    QRectF text = box.translated(pressed ? 1 : 0, pressed ? 1 : 0);
    p.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, current.button->text());
    if (current.state & gui::OwnerButton::Focused) {
        p.setPen(QPen(textColour, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(3, 3, -3, -3), 2, 2);
    }
    current.drawn = true;
}
