#include "Playlist.h"

#include <windows.h>

#include "WideText.h"
#include "common/Path.h"

namespace plenvox::e2e {

namespace {

constexpr char kInfoPrefix[] = "#EXTINF:";
constexpr std::size_t kInfoPrefixLength = sizeof kInfoPrefix - 1;

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  return ok;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : bytes) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The title that the player shows for an entry without information: the file name
// without folder and extension.
std::string TitleOf(const std::string& path) { return BaseNameOf(path); }

}  // namespace

std::string Playlist::FromFile(const std::string& line, bool utf8File) const {
  return unicode_ && !utf8File ? Utf8OfWide(WideOfAnsi(line)) : line;
}

std::string Playlist::ToFile(const std::string& text, bool utf8File) const {
  return unicode_ && !utf8File ? AnsiOfWide(WideOfUtf8(text)) : text;
}

int Playlist::AppendFile(const std::wstring& path, bool utf8File) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return -1;
  int added = 0;
  std::string info;
  for (const std::string& read : SplitLines(bytes)) {
    const std::string line = FromFile(read, utf8File);
    if (line.compare(0, kInfoPrefixLength, kInfoPrefix) == 0) {
      info = line.substr(kInfoPrefixLength);
    } else if (!line.empty() && line[0] != '#') {
      entries_.push_back({info.empty() ? "-1," + TitleOf(line) : info, line});
      info.clear();
      ++added;
    }
  }
  return added;
}

bool Playlist::WriteFile(const std::wstring& path, bool utf8File) const {
  std::string text = "#EXTM3U\r\n";
  for (const PlaylistEntry& entry : entries_) {
    text += kInfoPrefix + ToFile(entry.Info, utf8File) + "\r\n" + ToFile(entry.Path, utf8File) +
            "\r\n";
  }
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                              nullptr) != 0 &&
                  written == text.size();
  return ::CloseHandle(file) != 0 && ok;
}

void Playlist::Clear() {
  entries_.clear();
  position_ = 0;
}

}  // namespace plenvox::e2e
