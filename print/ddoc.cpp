// The print library on Qt: each call adds a step to the page of the open document; ending it
// shows the page in the preview or writes it to the PDF file the tests asked for.
#include "print/ddoc.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <optional>
#include <utility>

#include "print/page.h"

namespace {

// One document is built at a time.
struct Document {
    int32_t job = 0;
    QString title, name;
    print::Page page;
    QFont font = print::pageFont("Arial", 10, false);
};

std::optional<Document> building;
int32_t lastJob = 0;
QString pdfTarget;

Document* documentOf(int32_t job) { return building && building->job == job ? &*building : nullptr; }

double units(double inches) { return inches * print::kUnitsPerInch; }

// A text placed by the top of its line.
void addLine(Document& document, double left, double top, const QString& text) {
    document.page.steps.push_back(
        print::TextRun{document.font, left, top + print::ascent(document.font), text});
}

}  // namespace

int32_t DD_STARTDOC(const std::string& title, const std::string& name) {
    // Text can be measured and drawn only inside a GUI application, and a PDF file only written
    // into a folder that exists.
    const bool canDraw = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    const bool canWrite = pdfTarget.isEmpty() || QFileInfo(pdfTarget).dir().exists();
    if (!canDraw || !canWrite) return 0;
    // Handles stay within 1 to 32767, since callers keep them as 16-bit numbers.
    lastJob = lastJob % 32767 + 1;
    building.emplace();
    building->job = lastJob;
    building->title = QString::fromStdString(title);
    building->name = name.empty() ? building->title : QString::fromStdString(name);
    return lastJob;
}

void DD_FONT(int32_t job, int32_t style, double points, const std::string& face) {
    if (Document* document = documentOf(job))
        document->font = print::pageFont(QString::fromStdString(face), points, (style & 1) != 0);
}

void DD_TEXT(int32_t job, double x, double y, int32_t align, const std::string& text) {
    Document* document = documentOf(job);
    if (!document) return;
    const QString shown = QString::fromStdString(text);
    const double width = print::advance(document->font, shown);
    addLine(*document, units(x) - (align == 1 ? width / 2 : align == 2 ? width : 0), units(y), shown);
}

double DD_TEXTWIDTH(int32_t job, const std::string& text) {
    const Document* document = documentOf(job);
    if (!document) return 0;
    return print::advance(document->font, QString::fromStdString(text)) / print::kUnitsPerInch;
}

void DD_RECTANGLE(int32_t job, double left, double top, double right, double bottom) {
    if (Document* document = documentOf(job)) {
        const QRectF rect(QPointF(units(left), units(top)), QPointF(units(right), units(bottom)));
        document->page.steps.push_back(print::FramedBox{rect.normalized()});
    }
}

void DD_WRAPTEXT(int32_t job, double left, double top, double right, double bottom, double lineHeight,
                 const std::string& text, bool markCut) {
    Document* document = documentOf(job);
    if (!document) return;
    // One page unit of slack, so that a line ending exactly on the bottom edge is kept.
    const double lastTop = units(bottom) - units(lineHeight) + 1;
    const double width = units(right - left);
    const std::vector<QString> lines = print::wrapLines(document->font, QString::fromStdString(text), width);
    size_t fitting = 0;
    for (double lineTop = units(top); fitting < lines.size() && lineTop <= lastTop; lineTop += units(lineHeight))
        ++fitting;
    for (size_t i = 0; i < fitting; ++i) {
        QString line = lines[i];
        if (markCut && fitting < lines.size() && i + 1 == fitting) line = print::withEllipsis(document->font, line, width);
        addLine(*document, units(left), units(top) + static_cast<double>(i) * units(lineHeight), line);
    }
}

int32_t DD_WRAPLINECOUNT(int32_t job, double left, double right, const std::string& text) {
    const Document* document = documentOf(job);
    if (!document) return 0;
    return static_cast<int32_t>(
        print::wrapLines(document->font, QString::fromStdString(text), units(right - left)).size());
}

void DD_SETNOTICE(int32_t job, const std::string& notice) {
    if (Document* document = documentOf(job)) document->page.notice = QString::fromStdString(notice);
}

void DD_ENDDOC(int32_t job) {
    if (!documentOf(job)) return;
    const Document done = std::move(*building);
    building.reset();
    if (pdfTarget.isEmpty())
        print::showPreview(done.page, done.title, done.name);
    else
        print::writePdf(done.page, std::exchange(pdfTarget, QString()), done.name);
}

void DD_RENDERTOPDF(const std::string& path) { pdfTarget = QString::fromStdString(path); }

