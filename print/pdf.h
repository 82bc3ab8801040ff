// Inside the print library: a recorded page written to a PDF file.
#pragma once

#include <QString>

#include "print/page.h"

namespace print {

// Writes the page as a one-page US Letter PDF titled name; false when the file cannot be written.
bool writePdf(const Page& page, const QString& path, const QString& name);

}  // namespace print
