#include "common/settings.h"

#include "base/text.h"
#include "common/globals.h"
#include "gui/ezgui.h"
#include "platform/files.h"
#include "platform/profile_file.h"

namespace {

// Names and files live in areas of 300 characters, written values in 1000, each with its end mark;
// a cut never splits a character.
std::string fixedText(const std::string& text, size_t size) { return std::string(UTF8HEAD(text, size - 1)); }

}  // namespace

std::string GETINI(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& fallback) {
    return TRIMSPACES(OS_GETPROFILESTRING(fixedText(section, 300), fixedText(key, 300),
                                          fixedText(fallback, 300), fixedText(file, 300)));
}

void WRITEINI(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
    OS_WRITEPROFILESTRING(fixedText(TRIMSPACES(section), 300), fixedText(TRIMSPACES(key), 300),
                          fixedText(TRIMSPACES(value), 1000), fixedText(TRIMSPACES(file), 300));
}

void SETMENUITEM(const std::string& formName, int32_t menuNumber, int32_t itemId, const std::string& text,
                 const std::string& props) {
    EZ_SETMENUITEM(EZ_GETMENU(formName, menuNumber), itemId, text, props);
}

std::string SETTINGSFILE(const std::string& programFolder) {
    const std::string beside = programFolder + "Tarvex.ini";
    if (OS_FILEWRITABLE(beside) || OS_FOLDERTAKESFILES(programFolder)) return beside;
    return OS_USERCONFIGFOLDER(ProductName) + "/Tarvex.ini";
}
