// Texts of the end-to-end programs between the forms that Windows gives and takes:
// UTF-16 for the W functions, ANSI (the system's code page) for the A functions, and
// UTF-8, the form in which the programs hold and print Unicode texts.
#pragma once

#include <string>

namespace plenvox::e2e {

std::wstring WideOfUtf8(const std::string& text);
std::string Utf8OfWide(const std::wstring& text);
std::wstring WideOfAnsi(const std::string& text);
// A character that the code page lacks becomes "?" (no best-fit look-alike).
std::string AnsiOfWide(const std::wstring& text);

}  // namespace plenvox::e2e
