// The recorded page: fonts and measurements in page units, line breaking, painting, and the PDF
// file, the same drawing as on paper.
#include "print/page.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>
#include <mutex>

#include "gui/faces.h"

namespace print {
namespace {

constexpr double kUnitsPerPoint = kUnitsPerInch / 72;
constexpr double kFrameWidth = kUnitsPerInch / 100;

}  // namespace

QFont pageFont(const QString& face, double points, bool bold) {
    static std::once_flag substituted;
    std::call_once(substituted, gui::substituteFaces);
    QFont font(face);
    font.setPixelSize(static_cast<int>(std::lround(points * kUnitsPerPoint)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double advance(const QFont& font, const QString& text) { return QFontMetricsF(font).horizontalAdvance(text); }

double ascent(const QFont& font) { return QFontMetricsF(font).ascent(); }

std::vector<QString> wrapLines(const QFont& font, const QString& text, double width) {
    QString flowing = text;
    flowing.replace("\r\n", "\n").replace('\r', '\n').replace('\n', QChar::LineSeparator).replace('\t', ' ');
    QTextLayout layout(flowing, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    std::vector<QString> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString shown = flowing.mid(line.textStart(), line.textLength());
        while (!shown.isEmpty() && shown.back().isSpace()) shown.chop(1);
        lines.push_back(shown);
    }
    layout.endLayout();
    return lines;
}

QString withEllipsis(const QFont& font, QString line, double width) {
    const QString ellipsis = QStringLiteral("\u2026");
    while (!line.isEmpty() && advance(font, line + ellipsis) > width) line.chop(1);
    while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
    return line + ellipsis;
}

void paintPage(QPainter& painter, const Page& page) {
    painter.save();
    const QPaintDevice* device = painter.device();
    painter.scale(device->logicalDpiX() / kUnitsPerInch, device->logicalDpiY() / kUnitsPerInch);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PageStep& step : page.steps) {
        if (const auto* run = std::get_if<TextRun>(&step)) {
            painter.setPen(Qt::black);
            painter.setFont(run->font);
            painter.drawText(QPointF(run->x, run->baseline), run->text);
        } else if (const auto* box = std::get_if<FramedBox>(&step)) {
            painter.setPen(QPen(Qt::black, kFrameWidth));
            painter.setBrush(Qt::white);
            painter.drawRect(box->rect);
        }
    }
    painter.restore();
}

bool writePdf(const Page& page, const QString& path, const QString& name) {
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(1200);
    writer.setTitle(name);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    paintPage(painter, page);
    return painter.end();
}

}  // namespace print
