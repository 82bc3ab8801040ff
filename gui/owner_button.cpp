// Owner-drawn buttons: the program paints them through the drawing operations below.
#include "gui/owner_button.h"

#include <QPainter>

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
    int32_t state = (isDown() ? Pressed : 0) | (hasFocus() ? Focused : 0) | (isEnabled() ? 0 : Disabled) |
                    (underMouse() ? Hovered : 0);
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

namespace {

// What every style shares: the colours chosen, the state, the caption and focus mark.
struct Face {
    QPainter& p;
    QRectF box;
    QColor face;
    QColor text;
    bool pressed;
    bool focused;
    bool hovered;
};

Face beginFace(int32_t face, int32_t caption) {
    QColor faceColour = current.button->palette().color(QPalette::Button);
    colourFor(face, faceColour);
    QColor textColour = current.button->palette().color(QPalette::ButtonText);
    colourFor(caption, textColour);
    if (current.state & OwnerButton::Disabled)
        textColour = current.button->palette().color(QPalette::Disabled, QPalette::ButtonText);
    current.painter->setRenderHint(QPainter::Antialiasing);
    return {*current.painter,
            QRectF(current.button->rect()).adjusted(0.5, 0.5, -0.5, -0.5),
            faceColour,
            textColour,
            (current.state & OwnerButton::Pressed) != 0,
            (current.state & OwnerButton::Focused) != 0,
            (current.state & OwnerButton::Hovered) != 0};
}

void drawCaption(Face& f, int32_t font, qreal inset) {
    f.p.setFont(fontFor(font < 0 ? 0 : font));
    f.p.setPen(f.text);
    QRectF text = f.box.translated(f.pressed ? 1 : 0, f.pressed ? 1 : 0);
    f.p.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, current.button->text());
    if (f.focused) {
        f.p.setPen(QPen(f.text, 1, Qt::DotLine));
        f.p.setBrush(Qt::NoBrush);
        f.p.drawRect(f.box.adjusted(inset, inset, -inset, -inset));
    }
    current.drawn = true;
}

}  // namespace
}  // namespace gui

// A flat button in its face colour with a darker rim, sunk while pressed.
void EZ_DRAWCOLORBUTTON(int32_t face, int32_t caption, int32_t font) {
    if (!gui::current.button) return;
    gui::Face f = gui::beginFace(face, caption);
    QColor fill = f.pressed ? f.face.darker(112) : f.hovered ? f.face.lighter(106) : f.face;
    f.p.setPen(f.face.darker(160));
    f.p.setBrush(fill);
    f.p.drawRoundedRect(f.box, 3, 3);
    gui::drawCaption(f, font, 3);
}

// The classic raised button: light edges above and left, dark below and right; reversed when pressed.
void EZ_DRAW3DBUTTON(int32_t face, int32_t caption, int32_t font) {
    if (!gui::current.button) return;
    gui::Face f = gui::beginFace(face, caption);
    f.p.setRenderHint(QPainter::Antialiasing, false);
    QRect r = gui::current.button->rect().adjusted(0, 0, -1, -1);
    f.p.fillRect(r, f.face);
    QColor light = f.face.lighter(150), shadow = f.face.darker(150), dark = f.face.darker(250);
    QColor topLeft = f.pressed ? dark : light, bottomRight = f.pressed ? light : dark;
    f.p.setPen(topLeft);
    f.p.drawLine(r.topLeft(), r.topRight());
    f.p.drawLine(r.topLeft(), r.bottomLeft());
    f.p.setPen(bottomRight);
    f.p.drawLine(r.bottomLeft(), r.bottomRight());
    f.p.drawLine(r.topRight(), r.bottomRight());
    f.p.setPen(f.pressed ? f.face : shadow);
    f.p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
    f.p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    gui::drawCaption(f, font, 4);
}

// A rounded button shaded from light at the top to the face colour below.
void EZ_DRAW3DBUTTONRR(int32_t face, int32_t caption, int32_t font) {
    if (!gui::current.button) return;
    gui::Face f = gui::beginFace(face, caption);
    qreal radius = f.box.height() / 2.5;
    QLinearGradient shade(f.box.topLeft(), f.box.bottomLeft());
    shade.setColorAt(0, f.pressed ? f.face.darker(115) : f.face.lighter(f.hovered ? 140 : 130));
    shade.setColorAt(1, f.pressed ? f.face.lighter(105) : f.face.darker(110));
    f.p.setPen(QPen(f.face.darker(170), 1));
    f.p.setBrush(shade);
    f.p.drawRoundedRect(f.box, radius, radius);
    gui::drawCaption(f, font, radius / 2 + 2);
}

// A flat face inside an etched groove, the edge of a panel rather than a raised key.
void EZ_DRAW3DBUTTONE(int32_t face, int32_t caption, int32_t font) {
    if (!gui::current.button) return;
    gui::Face f = gui::beginFace(face, caption);
    f.p.setRenderHint(QPainter::Antialiasing, false);
    QRect r = gui::current.button->rect().adjusted(0, 0, -1, -1);
    f.p.fillRect(r, f.pressed ? f.face.darker(108) : f.face);
    f.p.setBrush(Qt::NoBrush);
    f.p.setPen(f.face.darker(160));
    f.p.drawRect(r.adjusted(0, 0, -1, -1));
    f.p.setPen(f.face.lighter(160));
    f.p.drawRect(r.adjusted(1, 1, 0, 0));
    gui::drawCaption(f, font, 4);
}
