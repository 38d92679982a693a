#include "settings/IniWriter.h"

#include "common/IniText.h"

namespace plenvox {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Where a section's lines lie: its header, and one past its last non-blank line.
struct SectionSpan {
  std::size_t Header;
  std::size_t End;
};

bool IsHeader(const std::string& line) {
  std::string_view name;
  return IniSectionHeader(line, name);
}

bool FindSection(const std::vector<std::string>& lines, std::string_view section,
                 SectionSpan& span) {
  std::string_view name;
  std::size_t i = 0;
  while (i < lines.size() && !(IniSectionHeader(lines[i], name) && SameIniName(name, section))) ++i;
  if (i == lines.size()) return false;
  span = {i, i + 1};
  for (std::size_t j = i + 1; j < lines.size() && !IsHeader(lines[j]); ++j) {
    if (!TrimIniBlanks(lines[j]).empty()) span.End = j + 1;
  }
  return true;
}

bool IsEntryOf(const std::string& line, std::string_view key) {
  std::string_view name;
  return IniEntryKey(line, name) && SameIniName(name, key);
}

void Assign(std::vector<std::string>& lines, const IniAssignment& assignment) {
  const std::string entry = assignment.Key + "=" + QuoteIniValue(assignment.Value);
  SectionSpan span{};
  if (!FindSection(lines, assignment.Section, span)) {
    if (!lines.empty() && !TrimIniBlanks(lines.back()).empty()) lines.emplace_back();
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

std::string ApplyIniAssignments(std::string_view text,
                                const std::vector<IniAssignment>& assignments) {
  std::vector<std::string> lines;
  for (const std::string_view line : SplitIniLines(text)) lines.emplace_back(line);
  for (const auto& assignment : assignments) Assign(lines, assignment);
  std::string result;
  for (const auto& line : lines) {
    result += line;
    result += kLineEnd;
  }
  return result;
}

}  // namespace plenvox
