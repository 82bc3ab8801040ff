// The print preview: the page as it will come out, with buttons to print it or save it as a PDF.
#include "print/page.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QVBoxLayout>

namespace print {
namespace {

// The document's name made into a file name: characters that no file system accepts are replaced.
QString pdfFileName(const QString& name) {
    QString file = name.trimmed();
    for (QChar bad : QStringLiteral("\\/:*?\"<>|")) file.replace(bad, '-');
    return file + ".pdf";
}

QString pdfFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void printOnPaper(QDialog& preview, QPrinter& printer, const Page& page) {
    QPrintDialog ask(&printer, &preview);
    if (ask.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(&preview, "Print", "The page could not be sent to the printer.");
        return;
    }
    paintPage(painter, page);
    painter.end();
}

void saveAsPdf(QDialog& preview, const Page& page, const QString& name) {
    QFileDialog ask(&preview, "Save as PDF");
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setNameFilter("PDF files (*.pdf)");
    ask.setDefaultSuffix("pdf");
    ask.setDirectory(pdfFolder());
    ask.selectFile(pdfFileName(name));
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty()) return;
    const QString path = ask.selectedFiles().constFirst();
    if (!writePdf(page, path, name))
        QMessageBox::warning(&preview, "Save as PDF",
                             "The file could not be written:\n" + QDir::toNativeSeparators(path));
}

QPushButton* addButton(QHBoxLayout& row, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

}  // namespace

void showPreview(const Page& page, const QString& title, const QString& name) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(name);

    QDialog preview(QApplication::activeWindow());
    preview.setWindowTitle("Print Preview \u2014 " + title);
    auto* view = new QPrintPreviewWidget(&printer);
    QObject::connect(view, &QPrintPreviewWidget::paintRequested, [&page](QPrinter* target) {
        QPainter painter(target);
        paintPage(painter, page);
    });

    auto* buttons = new QHBoxLayout;
    QObject::connect(addButton(*buttons, "Zoom In"), &QPushButton::clicked, view, [view] { view->zoomIn(); });
    QObject::connect(addButton(*buttons, "Zoom Out"), &QPushButton::clicked, view,
                     [view] { view->zoomOut(); });
    QObject::connect(addButton(*buttons, "Whole Page"), &QPushButton::clicked, view,
                     &QPrintPreviewWidget::fitInView);
    buttons->addStretch();
    QObject::connect(addButton(*buttons, "Print..."), &QPushButton::clicked, &preview,
                     [&] { printOnPaper(preview, printer, page); });
    QObject::connect(addButton(*buttons, "Save as PDF..."), &QPushButton::clicked, &preview,
                     [&] { saveAsPdf(preview, page, name); });
    QPushButton* close = addButton(*buttons, "Close");
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &preview, &QDialog::reject);

    auto* layout = new QVBoxLayout(&preview);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
    // A status line with what the user should know about how the page was made.
    auto* status = new QStatusBar;
    status->setObjectName("notice");
    status->setSizeGripEnabled(false);
    status->showMessage(page.notice);
    status->setVisible(!page.notice.isEmpty());
    layout->addWidget(status);

    // A page-shaped window that fits on the screen.
    const QRect screen = preview.screen()->availableGeometry();
    preview.resize(qMin(780, screen.width() * 9 / 10), qMin(960, screen.height() * 9 / 10));
    preview.exec();
}

}  // namespace print
