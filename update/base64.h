// Base64 with the standard alphabet and "=" padding, no line breaks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

std::string GET_BASE64(std::string_view text);

// The bytes a Base64 text stands for; nothing when it holds other characters or is cut short.
std::optional<std::string> FROM_BASE64(std::string_view text);
