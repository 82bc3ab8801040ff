// The print library the program is written against: one US Letter portrait page addressed
// in inches from its top-left corner, built call by call and shown in a print preview when
// it ends. No Qt type appears here; texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

// Starts a document and returns its job handle, below 1 when none could be started. The
// title names the preview window; name is the document's own (its PDF title and the file
// name offered when it is saved), the title when empty.
int32_t DD_STARTDOC(const std::string& title, const std::string& name);

// Selects the font of the texts that follow. The low bit of style is bold: 17 bold, 16 regular.
void DD_FONT(int32_t job, int32_t style, double points, const std::string& face);

// A line of text whose top is at y; align 0 puts its left end at x, 1 its middle, 2 its right end.
void DD_TEXT(int32_t job, double x, double y, int32_t align, const std::string& text);

// The width of text in the current font, in inches.
double DD_TEXTWIDTH(int32_t job, const std::string& text);

// A white rectangle with a thin black frame, drawn over what is beneath it.
void DD_RECTANGLE(int32_t job, double left, double top, double right, double bottom);

// text word-wrapped inside the box, one line every lineHeight from its top; lines that do
// not fit above the bottom are left out, and with markCut the last line printed then ends in
// "…".
void DD_WRAPTEXT(int32_t job, double left, double top, double right, double bottom, double lineHeight,
                 const std::string& text, bool markCut = false);

// How many lines text takes when wrapped between left and right in the current font.
int32_t DD_WRAPLINECOUNT(int32_t job, double left, double right, const std::string& text);

// A line for the preview's status bar, about how the page was made.
void DD_SETNOTICE(int32_t job, const std::string& notice);

// Ends the document and shows it in a modal print preview over the active window, from which
// the user prints it or saves it as a PDF file.
void DD_ENDDOC(int32_t job);

// The next document ends in this PDF file instead of the preview; an empty path returns to
// the preview. Used by the tests. A start fails while the file's folder does not exist.
void DD_RENDERTOPDF(const std::string& path);
