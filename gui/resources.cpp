// Numbered fonts and colours, and the character units that place every control.
#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPalette>
#include <QToolTip>
#include <QWidget>
#include <cmath>
#include <map>

#include "gui/faces.h"
#include "gui/registry.h"

namespace gui {
namespace {

std::map<int32_t, QFont> fonts;
std::map<int32_t, QColor> colours;

// The classic sixteen colours, in the order programs of this kind number them.
constexpr int kClassic[16][3] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                 {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                 {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                 {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};

// Colours 16 to 31 are pale tints of 0 to 15, light enough to carry black text.
QColor paletteColour(int32_t number) {
    const int* rgb = kClassic[number % 16];
    if (number < 16) return QColor(rgb[0], rgb[1], rgb[2]);
    auto tint = [](int c) { return c + (255 - c) * 4 / 5; };
    return QColor(tint(rgb[0]), tint(rgb[1]), tint(rgb[2]));
}

// A face and size with the property letters "B" bold, "I" italic, "U" underlined.
QFont fontOf(const std::string& face, double points, const std::string& props) {
    QFont font(QString::fromStdString(face));
    font.setPointSizeF(points);
    font.setBold(has(props, 'B'));
    font.setItalic(has(props, 'I'));
    font.setUnderline(has(props, 'U'));
    return font;
}

QFont defaultFont(double points) {
    QFont font("Segoe UI");
    font.setPointSizeF(points);
    return font;
}

}  // namespace

int px(double units, bool horizontal) {
    return static_cast<int>(std::lround(units * (horizontal ? kColumnPixels : kRowPixels)));
}

// Liberation Sans and Arimo share Arial's letter widths, so a page keeps the layout it was designed
// with; Liberation Sans also fits Segoe UI's layouts.
void substituteFaces() {
    QFont::insertSubstitutions("Segoe UI", {"Liberation Sans", "Arial", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Wingdings", {"DejaVu Sans"});
}

void installFontSubstitutes() {
    substituteFaces();
    QApplication::setFont(defaultFont(9));
}

QFont fontFor(int32_t number) {
    auto it = fonts.find(number);
    if (it != fonts.end()) return it->second;
    return defaultFont(number == 4 ? 8 : 9);
}

bool colourFor(int32_t number, QColor& colour) {
    if (number < 0) return false;
    auto it = colours.find(number);
    if (it != colours.end()) {
        colour = it->second;
        return true;
    }
    if (number > 31) return false;
    colour = paletteColour(number);
    return true;
}

void applyColours(QWidget* widget, int32_t foreground, int32_t background) {
    QColor fore, back;
    const bool coloured = colourFor(foreground, fore), filled = colourFor(background, back);
    if (!coloured && !filled) {
        // Default colours: the widget follows its parent's palette.
        if (widget->testAttribute(Qt::WA_SetPalette)) widget->setPalette(QPalette());
        widget->setAutoFillBackground(false);
        return;
    }
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : QApplication::palette();
    if (coloured) {
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Text, fore);
        palette.setColor(QPalette::ButtonText, fore);
    }
    if (filled) {
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Button, back);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(filled);
}

}  // namespace gui

void EZ_DEFFONT(int32_t number, const std::string& face, double points, const std::string& props) {
    gui::fonts[number] = gui::fontOf(face, points, props);
}

// Windows system colour indexes, mapped to the roles of the desktop's own palette.
void EZ_DEFSYSTEMCOLOR(int32_t number, int32_t systemIndex) {
    QPalette::ColorRole role = QPalette::Window;
    switch (systemIndex) {
        case 5: role = QPalette::Base; break;
        case 8: role = QPalette::WindowText; break;
        case 13: role = QPalette::Highlight; break;
        case 14: role = QPalette::HighlightedText; break;
        case 15: role = QPalette::Button; break;
        case 18: role = QPalette::ButtonText; break;
        case 23: role = QPalette::ToolTipText; break;
        case 24: role = QPalette::ToolTipBase; break;
    }
    gui::colours[number] = QApplication::palette().color(QPalette::Active, role);
}

void EZ_DEFCOLORL(int32_t number, int32_t red, int32_t green, int32_t blue) {
    gui::colours[number] = QColor(red & 255, green & 255, blue & 255);
}

void EZ_COLOR(int32_t foreground, int32_t background) {
    gui::settings().foreground = foreground;
    gui::settings().background = background;
}

void EZ_USEFONT(int32_t number) {
    gui::settings().font = number;
    gui::settings().customFont.reset();
}

void EZ_USEFONTFACE(const std::string& face, double points, const std::string& props) {
    gui::settings().customFont = gui::fontOf(face, points, props);
}

// An empty text measures one line of the font's height.
void EZ_GETTEXTSIZE(int32_t font, const std::string& text, double& width, double& height) {
    QFontMetricsF metrics(gui::fontFor(font));
    width = metrics.horizontalAdvance(QString::fromStdString(text)) / gui::kColumnPixels;
    height = metrics.height() / gui::kRowPixels;
}

double EZ_CX(int32_t pixels) { return pixels / gui::kColumnPixels; }
double EZ_CY(int32_t pixels) { return pixels / gui::kRowPixels; }

void EZ_DEFTOOLTIPPROP(int32_t foreground, int32_t background) {
    QPalette palette = QToolTip::palette();
    QColor colour;
    if (gui::colourFor(foreground, colour)) palette.setColor(QPalette::ToolTipText, colour);
    if (gui::colourFor(background, colour)) palette.setColor(QPalette::ToolTipBase, colour);
    QToolTip::setPalette(palette);
}
