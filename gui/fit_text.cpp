// Figures are never shown cut: a control's font shrinks until its text fits.
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

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

double widest(const QFont& font, const QStringList& lines) {
    QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

void setFontIfOther(QWidget* control, const QFont& font) {
    if (control->font() != font) control->setFont(font);
}

}  // namespace

void fitText(QWidget* control) {
    double room = 0;
    const QStringList lines = linesOf(control, room);
    if (lines.isEmpty()) return;
    const QVariant given = control->property("ezFont");
    QFont font = given.isValid() ? given.value<QFont>() : control->font();
    bool fits = widest(font, lines) <= room;
    while (!fits && font.pointSizeF() - 0.5 >= kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        fits = widest(font, lines) <= room;
    }
    setFontIfOther(control, font);
    // The whole text goes to the tooltip only while it is cut; a tooltip of the program's stays.
    const bool fittedTip = control->property(kFittedTip).toBool();
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
