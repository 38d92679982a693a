#include "config/IniWriter.h"

#include "common/Text.h"

namespace plenvox {

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) { return LowerAscii(a) == LowerAscii(b); }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The section name of a header line "[name]", or false for any other line.
bool SectionHeader(std::string_view line, std::string_view& name) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return false;
  const auto close = trimmed.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(trimmed.substr(1, close - 1));
  return true;
}

bool IsEntryOf(std::string_view line, std::string_view key) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return false;
  const auto eq = trimmed.find('=');
  return eq != std::string_view::npos && SameName(Trim(trimmed.substr(0, eq)), key);
}

// Where a section's lines lie: its header, and one past its last non-blank line.
struct SectionSpan {
  std::size_t Header;
  std::size_t End;
};

bool FindSection(const std::vector<std::string>& lines, std::string_view section,
                 SectionSpan& span) {
  std::string_view name;
  std::size_t i = 0;
  while (i < lines.size() && !(SectionHeader(lines[i], name) && SameName(name, section))) ++i;
  if (i == lines.size()) return false;
  span = {i, i + 1};
  for (std::size_t j = i + 1; j < lines.size() && !SectionHeader(lines[j], name); ++j) {
    if (!Trim(lines[j]).empty()) span.End = j + 1;
  }
  return true;
}

void Assign(std::vector<std::string>& lines, const IniAssignment& assignment) {
  const std::string entry = assignment.Key + "=" + QuoteIniValue(assignment.Value);
  SectionSpan span{};
  if (!FindSection(lines, assignment.Section, span)) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + assignment.Section + "]");
    lines.push_back(entry);
    return;
  }
  for (std::size_t i = span.Header + 1; i < span.End; ++i) {
    if (IsEntryOf(lines[i], assignment.Key)) {
      lines[i] = entry;
      return;
    }
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span.End), entry);
}

}  // namespace

bool IsStorableIniValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string QuoteIniValue(std::string_view value) {
  const bool blankAtEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  const bool enclosed = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
  if (!blankAtEnd && !enclosed) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

std::string ApplyIniAssignments(std::string_view text,
                                const std::vector<IniAssignment>& assignments) {
  std::vector<std::string> lines = SplitLines(text);
  for (const auto& assignment : assignments) Assign(lines, assignment);
  std::string result;
  for (const auto& line : lines) {
    result += line;
    result += kLineEnd;
  }
  return result;
}

}  // namespace plenvox
