#pragma once
// Conversion between the WIN1251 bytes of the database connections and UTF-8.
#include <string>

std::string Win1251ToUtf8(const std::string& text);
// Characters that WIN1251 lacks become '?'.
std::string Utf8ToWin1251(const std::string& text);
