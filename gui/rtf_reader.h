// The rich-text view's own reader of RTF: a document turned into paragraphs of formatted runs,
// which the view then renders. It knows no widget and no Qt, so it is tested and fuzzed alone.
// Any bytes give some document: hostile input is bounded, never trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtf {

struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour&) const = default;
};

// A stretch of text in one format. Text is UTF-8.
struct Run {
    std::string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;           // the size: 24 half points is 12 points, RTF's own default
    std::string font;              // the face from the font table; empty when the file names none
    std::optional<Colour> colour;  // none is the automatic colour
    bool sameFormat(const Run& other) const;
};

enum class Align { Left, Centre, Right, Justify };

// Indents and spacing are in twips (1/1440 inch), as RTF writes them.
struct ParagraphFormat {
    Align align = Align::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

struct Paragraph : ParagraphFormat {
    std::vector<Run> runs;
};

struct Document {
    std::vector<Paragraph> paragraphs;
};

// True when the bytes start as an RTF file does ("{\rtf", blanks allowed before it).
bool isRtf(std::string_view bytes);

// The document an RTF file describes. Bytes that are not RTF are read as plain text.
Document readRtf(std::string_view bytes);

// Plain text as a document: one paragraph a line, UTF-8 when it is valid UTF-8, else Windows-1252.
Document readPlainText(std::string_view text);

// The document's text: paragraphs joined with "\n", line breaks as "\n".
std::string plainText(const Document& document);

}  // namespace rtf
