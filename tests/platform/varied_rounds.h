// The rounds of the varied settings writer, shared by the writer and the crash test that kills
// it: round n sets one key of one section to a value of its own, so the test can replay them.
#pragma once

#include <array>
#include <string>

struct SettingsRound {
    std::string section, key, value;
};

// The settings file the varied writer starts from: lines that no round writes are kept as written.
inline const std::string kVariedStart =
    "\xEF\xBB\xBF; Tarvex settings, edited by hand\r\n[Options]\r\nRecall=1\r\n  Indented = kept as it is  "
    "\r\n\r\n# a comment\r\n[Info]\r\n1=Main Street Motors\r\nnot a key line\r\n\r\n[Empty]\r\n\r\n"
    "[Stations]\r\nCalls=WAAA,WBBB,,,,,,\r\n";

inline SettingsRound variedRound(long n) {
    static const std::array<const char*, 5> sections = {"Options", "Info", "Stations", "Update", "New Section"};
    static const std::array<const char*, 8> keys = {"Recall", "AutoUpdate", "1", "16", "Calls", "Cume", "LastCheck",
                                                    "New Key"};
    static const std::array<const char*, 11> pieces = {"plain ", "\t", " ", "\"", "=", "\xC3\xA9", "[x]", ";",
                                                       "\\n",    "#",  "\xE2\x82\xAC"};
    SettingsRound round{sections[size_t(n % 5)], keys[size_t(n / 5 % 8)], ""};
    if (n % 17 == 0) return round;
    round.value = std::to_string(n) + ":";
    const size_t length = size_t(n * 7919 % 20000);
    for (size_t i = 0; round.value.size() < length; ++i) round.value += pieces[(size_t(n) + i * i) % pieces.size()];
    return round;
}
