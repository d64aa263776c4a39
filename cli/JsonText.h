#pragma once

#include <string>
#include <string_view>

// A JSON string literal, quotes included, for UTF-8 text.
std::string JsonString(std::string_view utf8);
