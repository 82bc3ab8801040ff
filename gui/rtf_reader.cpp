#include "gui/rtf_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "base/text.h"

namespace rtf {
namespace {

// Limits that keep hostile files small and quick: nesting, table sizes, names, numbers.
constexpr int kMaxDepth = 100;
constexpr size_t kMaxTableEntries = 1024;
constexpr size_t kMaxFontName = 128;
constexpr size_t kMaxWordLetters = 32;
constexpr int kMaxDigits = 10;
constexpr int kMaxTwips = 14400;  // ten inches of indent or spacing
constexpr size_t kMaxParagraphs = 200000;
constexpr size_t kMaxTextBytes = 16 << 20;

// The line separator: a line break inside a paragraph.
constexpr char32_t kLineBreak = 0x2028;

// The characters 0x80 to 0x9F of Windows-1252; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> kWindows1252 = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// One byte of the Windows-1252 code page as a Unicode code point (U+FFFD for its five gaps).
char32_t fromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kWindows1252[byte - 0x80] : static_cast<char32_t>(byte);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Where the text of a group goes.
enum class Destination { Text, Skip, FontTable, ColourTable };

struct CharFormat {
    bool bold = false, italic = false, underline = false;
    int halfPoints = 24;
    int font = -1;  // a number of the font table; -1 before any \f
    int colour = 0;
    bool operator==(const CharFormat&) const = default;
};

using ParFormat = ParagraphFormat;

struct Group {
    CharFormat chars;
    ParFormat par;
    Destination destination = Destination::Text;
    int skipAfterUnicode = 1;  // \uc: how many characters stand in for each \u character
};

// Destinations whose text is not part of the document.
bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {"annotation", "atnauthor",    "atnid",
                                                    "bkmkend",    "bkmkstart",    "colorschememapping",
                                                    "datafield",  "datastore",    "docvar",
                                                    "falt",       "ffname",       "fldinst",
                                                    "filetbl",    "footer",       "footerf",
                                                    "footerl",    "footerr",      "footnote",
                                                    "formfield",  "generator",    "header",
                                                    "headerf",    "headerl",      "headerr",
                                                    "info",       "latentstyles", "listoverridetable",
                                                    "listtable",  "mmathPr",      "nonshppict",
                                                    "object",     "objdata",      "panose",
                                                    "pgdsctbl",   "pict",         "pn",
                                                    "private",    "revtbl",       "rsidtbl",
                                                    "rxe",        "shp",          "shpinst",
                                                    "stylesheet", "tc",           "template",
                                                    "themedata",  "txe",          "userprops",
                                                    "xe",         "xmlnstbl"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : in_(bytes) {}

    Document read() {
        // The top group of the file is opened by its first "{".
        while (pos_ < in_.size() && in_[pos_] != '{') ++pos_;
        while (pos_ < in_.size() && !finished_) step();
        endDocument();
        return std::move(document_);
    }

private:
    void step() {
        char c = in_[pos_++];
        switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlWord(); break;
            case '\r':
            case '\n': break;
            case '\t': character(U'\t'); break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) break;
                character(fromWindows1252(static_cast<unsigned char>(c)));
                break;
        }
    }

    void openGroup() {
        skipping_ = 0;
        if (stack_.size() >= kMaxDepth) {
            ++tooDeep_;
            return;
        }
        stack_.push_back(current());
    }

    void closeGroup() {
        skipping_ = 0;
        if (tooDeep_ > 0) {
            --tooDeep_;
            return;
        }
        if (stack_.empty()) return;
        if (stack_.back().destination == Destination::FontTable) endFontName();
        stack_.pop_back();
        // The end of the top group is the end of the file.
        if (stack_.empty()) finished_ = true;
    }

    Group& current() { return stack_.empty() ? outside_ : stack_.back(); }

    // A control word, \name with an optional signed number, or a control symbol.
    void controlWord() {
        if (pos_ >= in_.size()) return;
        char c = in_[pos_];
        if (!isLetter(c)) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]) && pos_ - start < kMaxWordLetters) ++pos_;
        std::string_view word = in_.substr(start, pos_ - start);
        bool hasNumber = false;
        bool negative = false;
        long long number = 0;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        for (int digits = 0; pos_ < in_.size() && isDigit(in_[pos_]); ++pos_, ++digits) {
            hasNumber = true;
            if (digits < kMaxDigits) number = number * 10 + (in_[pos_] - '0');
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        number = std::clamp<long long>(negative ? -number : number, -2147483647, 2147483647);
        if (word != "u" && takeSkipped()) return;
        keyword(word, hasNumber, static_cast<int>(number));
    }

    void controlSymbol(char c) {
        switch (c) {
            case '\'': {
                int high = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
                int low = pos_ + 1 < in_.size() ? hexValue(in_[pos_ + 1]) : -1;
                if (high < 0 || low < 0) return;
                pos_ += 2;
                if (takeSkipped()) return;
                character(fromWindows1252(static_cast<unsigned char>(high * 16 + low)));
                return;
            }
            case '*': current().destination = Destination::Skip; return;
            case '\r':
            case '\n':
                if (takeSkipped()) return;
                endParagraph();
                return;
            default: break;
        }
        if (takeSkipped()) return;
        switch (c) {
            case '\\':
            case '{':
            case '}': character(static_cast<unsigned char>(c)); break;
            case '~': character(0x00A0); break;
            case '_': character(0x2011); break;
            default: break;  // \- optional hyphens, \| \: index marks
        }
    }

    void keyword(std::string_view word, bool hasNumber, int number) {
        Group& group = current();
        CharFormat& chars = group.chars;
        ParFormat& par = group.par;
        const bool on = !hasNumber || number != 0;
        auto twips = [&] { return std::clamp(number, -kMaxTwips, kMaxTwips); };

        if (word == "fonttbl") {
            group.destination = Destination::FontTable;
            fontNumber_ = -1;
        } else if (word == "colortbl") {
            group.destination = Destination::ColourTable;
            resetColourEntry();
        } else if (isSkippedDestination(word)) {
            group.destination = Destination::Skip;
        } else if (word == "bin") {
            // Binary data of the given length follows the word, which is all it holds.
            size_t length = hasNumber && number > 0 ? static_cast<size_t>(number) : 0;
            pos_ += std::min(length, in_.size() - pos_);
        } else if (word == "u") {
            unicode(number);
        } else if (word == "uc") {
            group.skipAfterUnicode = std::clamp(number, 0, 16);
        } else if (word == "par" || word == "sect" || word == "page" || word == "row") {
            endParagraph();
        } else if (word == "line") {
            character(kLineBreak);
        } else if (word == "tab" || word == "cell" || word == "nestcell") {
            character(U'\t');
        } else if (const char32_t special = specialCharacter(word)) {
            character(special);
        } else if (word == "b") {
            chars.bold = on;
        } else if (word == "i") {
            chars.italic = on;
        } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "uldash") {
            chars.underline = on;
        } else if (word == "ulnone") {
            chars.underline = false;
        } else if (word == "fs") {
            chars.halfPoints = hasNumber ? std::clamp(number, 2, 400) : 24;
        } else if (word == "f") {
            fontWord(number);
        } else if (word == "cf") {
            chars.colour = std::max(number, 0);
        } else if (word == "plain") {
            chars = CharFormat{};
            chars.font = defaultFont_;
        } else if (word == "fcharset") {
            if (group.destination == Destination::FontTable && number == 2 && fontNumber_ >= 0 &&
                symbolFonts_.size() < kMaxTableEntries)
                symbolFonts_.insert(fontNumber_);
        } else if (word == "deff") {
            defaultFont_ = number;
            if (chars.font < 0) chars.font = number;
        } else if (word == "pard") {
            par = ParFormat{};
        } else if (word == "ql") {
            par.align = Align::Left;
        } else if (word == "qc") {
            par.align = Align::Centre;
        } else if (word == "qr") {
            par.align = Align::Right;
        } else if (word == "qj") {
            par.align = Align::Justify;
        } else if (word == "li") {
            par.leftIndent = twips();
        } else if (word == "ri") {
            par.rightIndent = twips();
        } else if (word == "fi") {
            par.firstIndent = twips();
        } else if (word == "sb") {
            par.spaceBefore = std::max(twips(), 0);
        } else if (word == "sa") {
            par.spaceAfter = std::max(twips(), 0);
        } else if (group.destination == Destination::ColourTable) {
            colourComponent(word, number);
        }
    }

    static char32_t specialCharacter(std::string_view word) {
        if (word == "emdash") return 0x2014;
        if (word == "endash") return 0x2013;
        if (word == "bullet") return 0x2022;
        if (word == "lquote") return 0x2018;
        if (word == "rquote") return 0x2019;
        if (word == "ldblquote") return 0x201C;
        if (word == "rdblquote") return 0x201D;
        if (word == "emspace") return 0x2003;
        if (word == "enspace") return 0x2002;
        if (word == "qmspace") return 0x2005;
        return 0;
    }

    // \f in the font table starts an entry; elsewhere it selects a font.
    void fontWord(int number) {
        if (current().destination == Destination::FontTable) {
            endFontName();
            fontNumber_ = number;
            return;
        }
        current().chars.font = number;
    }

    void endFontName() {
        if (fontNumber_ >= 0 && !fontName_.empty() &&
            (fonts_.size() < kMaxTableEntries || fonts_.count(fontNumber_)))
            fonts_[fontNumber_] = TRIMSPACES(fontName_);
        fontName_.clear();
        fontNumber_ = -1;
    }

    void resetColourEntry() {
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }

    void colourComponent(std::string_view word, int number) {
        auto component = static_cast<uint8_t>(std::clamp(number, 0, 255));
        if (word == "red")
            red_ = component;
        else if (word == "green")
            green_ = component;
        else if (word == "blue")
            blue_ = component;
        else
            return;
        colourGiven_ = true;
    }

    // \uN: a UTF-16 unit, negative numbers standing for those above 32767; the characters that
    // follow in its place for older readers are skipped.
    void unicode(int number) {
        skipping_ = 0;
        const int32_t unit = number < 0 ? number + 65536 : number;
        if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_) {
            const char32_t high = highSurrogate_;
            highSurrogate_ = 0;
            append(0x10000 + ((high - 0xD800) << 10) + (static_cast<char32_t>(unit) - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (highSurrogate_) append(0xFFFD);
            highSurrogate_ = static_cast<char32_t>(unit);
        } else {
            const bool lone = unit < 0 || unit > 0xFFFF || (unit >= 0xDC00 && unit <= 0xDFFF);
            character(lone ? 0xFFFD : static_cast<char32_t>(unit));
        }
        skipping_ = current().skipAfterUnicode;
    }

    // True when this character only stands in for the \u character before it.
    bool takeSkipped() {
        if (skipping_ <= 0) return false;
        --skipping_;
        return true;
    }

    void character(char32_t c) {
        if (c != U'\t' && c != kLineBreak && c < 0x20) return;
        if (takeSkipped()) return;
        // A high surrogate with no low one after it is shown as a replacement character.
        if (highSurrogate_) {
            highSurrogate_ = 0;
            append(0xFFFD);
        }
        append(c);
    }

    void append(char32_t c) {
        switch (current().destination) {
            case Destination::Text: textCharacter(c); break;
            case Destination::FontTable:
                if (c == U';')
                    endFontName();
                else if (fontName_.size() < kMaxFontName)
                    APPENDUTF8(fontName_, c);
                break;
            case Destination::ColourTable:
                if (c != U';') break;
                if (colours_.size() < kMaxTableEntries)
                    colours_.push_back(colourGiven_ ? std::optional<Colour>(Colour{red_, green_, blue_})
                                                    : std::nullopt);
                resetColourEntry();
                break;
            case Destination::Skip: break;
        }
    }

    void textCharacter(char32_t c) {
        if (textBytes_ >= kMaxTextBytes) {
            finished_ = true;
            return;
        }
        const CharFormat& chars = current().chars;
        // The bullet of a symbol font, which editors write before each item of a list.
        if (c == 0xB7 && symbolFonts_.count(chars.font < 0 ? defaultFont_ : chars.font)) c = 0x2022;
        std::vector<Run>& runs = paragraph_.runs;
        if (runs.empty() || !(chars == runFormat_)) {
            Run run = runFor(chars);
            if (runs.empty() || !runs.back().sameFormat(run)) runs.push_back(std::move(run));
            runFormat_ = chars;
        }
        const size_t before = runs.back().text.size();
        APPENDUTF8(runs.back().text, c);
        textBytes_ += runs.back().text.size() - before;
        paragraphFormat_ = current().par;
    }

    Run runFor(const CharFormat& chars) const {
        Run run;
        run.bold = chars.bold;
        run.italic = chars.italic;
        run.underline = chars.underline;
        run.halfPoints = chars.halfPoints;
        auto font = fonts_.find(chars.font < 0 ? defaultFont_ : chars.font);
        if (font != fonts_.end()) run.font = font->second;
        if (static_cast<size_t>(chars.colour) < colours_.size())
            run.colour = colours_[static_cast<size_t>(chars.colour)];
        return run;
    }

    // A paragraph mark in the text ends the paragraph with the paragraph format in force.
    void endParagraph() {
        if (current().destination != Destination::Text) return;
        closeParagraph(current().par);
        if (document_.paragraphs.size() >= kMaxParagraphs) finished_ = true;
    }

    // The file's end keeps a last paragraph only when it holds text, as an editor shows no empty
    // paragraph after the final mark; it takes the format of its last text.
    void endDocument() {
        if (paragraph_.runs.empty() && !document_.paragraphs.empty()) return;
        closeParagraph(paragraphFormat_);
    }

    void closeParagraph(const ParFormat& par) {
        static_cast<ParFormat&>(paragraph_) = par;
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = Paragraph{};
    }

    std::string_view in_;
    size_t pos_ = 0;
    bool finished_ = false;
    std::vector<Group> stack_;
    Group outside_;
    int tooDeep_ = 0;
    int skipping_ = 0;
    char32_t highSurrogate_ = 0;

    std::map<int, std::string> fonts_;
    std::set<int> symbolFonts_;
    int fontNumber_ = -1;
    std::string fontName_;
    int defaultFont_ = 0;
    std::vector<std::optional<Colour>> colours_;
    uint8_t red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;

    Document document_;
    Paragraph paragraph_;
    ParFormat paragraphFormat_;
    CharFormat runFormat_;
    size_t textBytes_ = 0;
};

bool validUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

bool Run::sameFormat(const Run& other) const {
    return bold == other.bold && italic == other.italic && underline == other.underline &&
           halfPoints == other.halfPoints && font == other.font && colour == other.colour;
}

bool isRtf(std::string_view bytes) {
    size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && bytes.substr(start, 5) == "{\\rtf";
}

Document readRtf(std::string_view bytes) {
    if (!isRtf(bytes)) return readPlainText(bytes);
    return Reader(bytes).read();
}

Document readPlainText(std::string_view text) {
    const bool utf8 = validUtf8(text);
    Document document;
    Paragraph paragraph;
    paragraph.runs.emplace_back();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            document.paragraphs.push_back(std::move(paragraph));
            paragraph = Paragraph{};
            paragraph.runs.emplace_back();
        } else if (utf8 || static_cast<unsigned char>(c) < 0x80) {
            paragraph.runs.back().text += c;
        } else {
            APPENDUTF8(paragraph.runs.back().text, fromWindows1252(static_cast<unsigned char>(c)));
        }
    }
    document.paragraphs.push_back(std::move(paragraph));
    return document;
}

std::string plainText(const Document& document) {
    std::string text;
    for (size_t p = 0; p < document.paragraphs.size(); ++p) {
        if (p > 0) text += '\n';
        for (const Run& run : document.paragraphs[p].runs) text += run.text;
    }
    std::string out;
    const std::string lineBreak = "\u2028";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, lineBreak.size(), lineBreak) == 0) {
            out += '\n';
            i += lineBreak.size() - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace rtf
