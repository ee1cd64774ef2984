#pragma once
// Small helpers for the SQL texts the engine builds.
#include <string>

// The text without leading and trailing blanks and control characters.
std::string Trim(const std::string& text);

// A string literal between double quotes (dialect 1), a double quote inside doubled.
std::string DoubleQuoted(const std::string& text);
// A string literal between single quotes, a single quote inside doubled.
std::string SingleQuoted(const std::string& text);

// True for a name that can stand unquoted in a statement: a letter, then letters,
// digits, '_' or '$' (the server's rule for regular identifiers).
bool IsPlainIdentifier(const std::string& name);

// True for a plain decimal number: optional sign, digits with an optional fraction,
// optional exponent. Such a text can stand unquoted as a numeric literal.
bool IsNumberText(const std::string& text);
