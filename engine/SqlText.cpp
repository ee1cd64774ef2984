#include "engine/SqlText.h"

#include <cctype>

std::string Trim(const std::string& text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

namespace {

std::string Quoted(const std::string& text, char quote) {
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    for (char c : text) {
        if (c == quote) out += quote;
        out += c;
    }
    out += quote;
    return out;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string DoubleQuoted(const std::string& text) { return Quoted(text, '"'); }
std::string SingleQuoted(const std::string& text) { return Quoted(text, '\''); }

bool IsPlainIdentifier(const std::string& name) {
    if (name.empty() || name.size() > 31 || !IsAsciiLetter(name[0])) return false;
    for (char c : name)
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != '_' && c != '$') return false;
    return true;
}

bool IsNumberText(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        std::size_t exponent = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    return i == text.size();
}
