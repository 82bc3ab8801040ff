// Inside the print library: a page recorded as drawing steps, to be painted on any device.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <variant>
#include <vector>

class QPainter;

namespace print {

// A page is recorded in units of 1/7200 inch, fine enough that text measured at this size
// scales to any printer or screen without rounding.
constexpr double kUnitsPerInch = 7200;
constexpr double kPageWidth = 8.5;
constexpr double kPageHeight = 11;

// A line of text placed by the left end of its baseline.
struct TextRun {
    QFont font;
    double x, baseline;
    QString text;
};

// A white rectangle with a thin black frame.
struct FramedBox {
    QRectF rect;
};

using PageStep = std::variant<TextRun, FramedBox>;

struct Page {
    std::vector<PageStep> steps;
    QString notice;  // for the preview's status bar
};

// A font of the given face, size in points and weight, sized in page units.
QFont pageFont(const QString& face, double points, bool bold);

// Text measured in page units.
double advance(const QFont& font, const QString& text);
double ascent(const QFont& font);

// The lines of text broken to fit width, each as it is drawn: line breaks kept, words
// longer than a line broken anywhere.
std::vector<QString> wrapLines(const QFont& font, const QString& text, double width);

// The line, shortened at its end as far as needed, followed by "…", within width.
QString withEllipsis(const QFont& font, QString line, double width);

// Paints the page with the painter's origin at the paper's top-left corner.
void paintPage(QPainter& painter, const Page& page);

// Writes the page as a one-page US Letter PDF titled name; false when the file cannot be written.
bool writePdf(const Page& page, const QString& path, const QString& name);

// Shows the page modally over the active window until the user closes the preview; from it
// the page is printed through the system print dialog or saved as a PDF file.
void showPreview(const Page& page, const QString& title, const QString& name);

}  // namespace print
