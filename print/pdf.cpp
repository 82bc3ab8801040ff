// A recorded page written to a PDF file, the same drawing as on paper.
#include "print/pdf.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace print {

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
