// Figures are never shown cut: a control's font shrinks until its text fits.
#include <QCheckBox>
#include <QFontMetricsF>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <array>

#include "gui/registry.h"

namespace gui {
namespace {

constexpr double kSmallestPoints = 6;
const char* kFittedTip = "ezFittedTip";

// The text a control shows, one entry a line, and the width it has for it in pixels.
QStringList linesOf(QWidget* control, double& room) {
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        QStyleOptionFrame option;
        option.initFrom(box);
        option.lineWidth =
            box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
        QMargins margins = box->textMargins();
        room = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box).width() -
               margins.left() - margins.right() - 4;  // the box's own margin of two pixels a side
        return {box->text()};
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        room = label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
        return label->pixmap().isNull() ? label->text().split('\n') : QStringList();
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        room = box->width() - box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) -
               box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) - 2;
        return {box->text()};
    }
    room = 0;
    return {};
}

// The advances of the printable ASCII characters in a font, measured once.
using AsciiAdvances = std::array<double, 95>;
const AsciiAdvances& asciiAdvances(const QFont& font) {
    static QHash<QFont, AsciiAdvances> measured;
    auto found = measured.constFind(font);
    if (found != measured.cend()) return *found;
    QFontMetricsF metrics(font);
    AsciiAdvances advances{};
    for (int ch = 32; ch < 127; ++ch) advances[ch - 32] = metrics.horizontalAdvance(QChar(ch));
    return *measured.insert(font, advances);
}

// An ASCII text whose characters' advances add up to well inside the room fits without shaping
// it: the sum with a tenth to spare bounds any kerning. Figures take this way on every keystroke;
// anything else is measured as drawn.
bool fitsWithoutShaping(const QFont& font, const QStringList& lines, double room) {
    const AsciiAdvances& advances = asciiAdvances(font);
    for (const QString& line : lines) {
        double width = 0;
        for (QChar ch : line) {
            if (ch.unicode() < 32 || ch.unicode() >= 127) return false;
            width += advances[ch.unicode() - 32];
        }
        if (width * 1.1 + 1 > room) return false;
    }
    return true;
}

bool fitsIn(const QFont& font, const QStringList& lines, double room) {
    if (fitsWithoutShaping(font, lines, room)) return true;
    QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return width <= room;
}

// The font each control was created in, the largest it takes; kept here rather than in a
// property, which would cost a look-up by name on every keystroke.
QHash<const QObject*, QFont> givenFonts;

}  // namespace

void setGivenFont(QWidget* control, const QFont& font) {
    if (!givenFonts.contains(control))
        QObject::connect(control, &QObject::destroyed, [](QObject* gone) { givenFonts.remove(gone); });
    givenFonts.insert(control, font);
}

void fitText(QWidget* control) {
    double room = 0;
    const QStringList lines = linesOf(control, room);
    if (lines.isEmpty()) return;
    const auto given = givenFonts.constFind(control);
    QFont font = given != givenFonts.cend() ? *given : control->font();
    bool fits = fitsIn(font, lines, room);
    while (!fits && font.pointSizeF() - 0.5 >= kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        fits = fitsIn(font, lines, room);
    }
    if (control->font() != font) control->setFont(font);
    // The whole text goes to the tooltip only while it is cut; a tooltip of the program's stays.
    const bool fittedTip = !control->toolTip().isEmpty() && control->property(kFittedTip).toBool();
    if (!fits && (fittedTip || control->toolTip().isEmpty())) {
        control->setToolTip(lines.join('\n'));
        control->setProperty(kFittedTip, true);
        if (auto* box = qobject_cast<QLineEdit*>(control); box && !box->hasFocus()) box->setCursorPosition(0);
    } else if (fits && fittedTip) {
        control->setToolTip(QString());
        control->setProperty(kFittedTip, false);
    }
}

}  // namespace gui
