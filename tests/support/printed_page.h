// The calculator's page printed into a PDF file and read back with poppler's tools.
#pragma once

#include <QString>
#include <QStringList>

// Runs one of poppler's tools and returns what it wrote.
QString runTool(const QString& tool, const QStringList& arguments);

// Prints what the calculator shows into pdf and returns the page's text laid out as printed,
// one printed line a text line.
QString printedText(const QString& pdf);
