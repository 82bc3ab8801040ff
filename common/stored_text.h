// Texts kept in one value of the settings file, and the remembered comment as it is stored there.
#pragma once

#include <string>

// A text with line breaks kept in one value: such a text (or one that is itself enclosed in
// double quotes, or starts or ends with a tab) is stored quoted with escapes; any other text is
// stored as it is.
std::string TOSTOREDTEXT(const std::string& text);
std::string FROMSTOREDTEXT(const std::string& stored);

// The comment as stored, at most 999 bytes. A quoted comment too long for that loses whole
// characters from its end, so that the cut never takes its closing quote.
std::string STOREDCOMMENT(const std::string& comment);
