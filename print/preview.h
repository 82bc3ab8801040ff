// Inside the print library: the print preview window.
#pragma once

#include <QString>

#include "print/page.h"

namespace print {

// Shows the page modally over the active window until the user closes the preview; from it
// the page is printed through the system print dialog or saved as a PDF file.
void showPreview(const Page& page, const QString& title, const QString& name);

}  // namespace print
