#include "common/IniText.h"

#include "common/Text.h"

namespace plenvox {

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsQuote(char c) { return c == '"' || c == '\''; }

// One pair of the same quotation marks around the whole text is dropped.
std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

std::string Delivered(std::string_view value) {
  return std::string(value.substr(0, kIniValueMax));
}

std::string ValueOf(std::string_view line) {
  std::string_view value = line.substr(line.find('=') + 1);
  value = value.substr(0, value.find('\0'));
  return Delivered(Unquoted(TrimIniBlanks(value)));
}

std::string FallbackValue(std::string_view fallback) {
  while (!fallback.empty() && IsIniBlank(fallback.back())) fallback.remove_suffix(1);
  return Delivered(Unquoted(fallback));
}

}  // namespace

bool IsIniBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == kCtrlZ;
}

std::string_view TrimIniBlanks(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitIniLines(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
  return lines;
}

bool IniSectionHeader(std::string_view line, std::string_view& name) {
  const std::string_view trimmed = TrimIniBlanks(line);
  if (trimmed.empty() || trimmed.front() != '[') return false;
  const auto close = trimmed.find(']');
  if (close == std::string_view::npos) return false;
  name = TrimIniBlanks(trimmed.substr(1, close - 1));
  return true;
}

bool IniEntryKey(std::string_view line, std::string_view& key) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimIniBlanks(line.substr(0, eq));
  return true;
}

bool SameIniName(std::string_view a, std::string_view b) { return LowerAscii(a) == LowerAscii(b); }

std::string LookUpIniValue(std::string_view iniText, std::string_view section,
                           std::string_view key, std::string_view fallback) {
  bool inSection = false;
  for (const std::string_view line : SplitIniLines(iniText)) {
    std::string_view name;
    if (IniSectionHeader(line, name)) {
      if (inSection) break;  // only the first section of the name is read
      inSection = SameIniName(name, section);
      continue;
    }
    if (inSection && IniEntryKey(line, name) && SameIniName(name, key)) return ValueOf(line);
  }
  return FallbackValue(fallback);
}

bool IsStorableIniValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string QuoteIniValue(std::string_view value) {
  const bool blankAtEnd = !value.empty() && (IsIniBlank(value.front()) || IsIniBlank(value.back()));
  if (!blankAtEnd && Unquoted(value).size() == value.size()) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

}  // namespace plenvox
