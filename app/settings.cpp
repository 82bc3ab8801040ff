#include "app/settings.h"

#include "gui/ezgui.h"
#include "platform/files.h"
#include "platform/profile_file.h"

namespace {

// Names and files live in areas of 300 characters, written values in 1000, each with its end mark;
// a cut never splits a character.
std::string fixedText(const std::string& text, size_t size) {
    if (text.size() < size) return text;
    size_t end = size - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

std::string TRIMSPACES(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string GETINI(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& fallback) {
    std::string value = OS_GETPROFILESTRING(fixedText(section, 300), fixedText(key, 300),
                                            fixedText(fallback, 300), fixedText(file, 300));
    return TRIMSPACES(value);
}

void WRITEINI(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
    OS_WRITEPROFILESTRING(fixedText(TRIMSPACES(section), 300), fixedText(TRIMSPACES(key), 300),
                          fixedText(TRIMSPACES(value), 1000), fixedText(TRIMSPACES(file), 300));
}

void SETMENUITEM(const std::string& formName, int32_t menuNumber, int32_t itemId, const std::string& text,
                 const std::string& props) {
    int32_t menu = EZ_GETMENU(formName, menuNumber);
    EZ_SETMENUITEM(menu, itemId, text, props);
}

std::string TOSTOREDTEXT(const std::string& text) {
    bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    // A tab at either end would be lost as a blank around the value: quoting keeps it.
    bool tabbed = !text.empty() && (text.front() == '\t' || text.back() == '\t');
    if (text.find_first_of("\r\n") == std::string::npos && !quoted && !tabbed) return text;
    std::string stored = "\"";
    for (char ch : text) {
        switch (ch) {
        case '\n': stored += "\\n"; break;
        case '\r': stored += "\\r"; break;
        case '\\': stored += "\\\\"; break;
        case '"': stored += "\\\""; break;
        default: stored += ch; break;
        }
    }
    return stored + "\"";
}

std::string FROMSTOREDTEXT(const std::string& stored) {
    if (stored.size() < 2 || stored.front() != '"' || stored.back() != '"') return stored;
    std::string text;
    for (size_t i = 1; i + 1 < stored.size(); ++i) {
        char ch = stored[i];
        if (ch == '\\' && i + 2 < stored.size()) {
            char next = stored[++i];
            text += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            text += ch;
        }
    }
    return text;
}

std::string SETTINGSFILE(const std::string& programFolder) {
    const std::string beside = programFolder + "Tarvex.ini";
    if (OS_FILEWRITABLE(beside) || OS_FOLDERTAKESFILES(programFolder)) return beside;
    return OS_USERCONFIGFOLDER() + "/Tarvex.ini";
}
