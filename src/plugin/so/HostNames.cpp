#include "plugin/so/HostNames.h"

#include <algorithm>
#include <cstring>

#include "common/Path.h"

namespace plenvox {

namespace {

constexpr char16_t kShownSlash = u'\u2215';
constexpr char kShownSlashUtf8[] = "\xE2\x88\x95";
constexpr std::size_t kShownSlashBytes = sizeof(kShownSlashUtf8) - 1;

template <typename Text>
void PutCoreRoot(Text& path) {
  if (!path.empty() && path.front() == '/') path.front() = static_cast<typename Text::value_type>(kPathSeparator);
}

}  // namespace

std::string CoreRemotePath(std::string hostPath) {
  std::string path;
  for (std::size_t i = 0; i < hostPath.size(); ++i) {
    if (hostPath.compare(i, kShownSlashBytes, kShownSlashUtf8) == 0) {
      path += '/';
      i += kShownSlashBytes - 1;
    } else {
      path += hostPath[i];
    }
  }
  PutCoreRoot(path);
  return path;
}

std::u16string CoreRemotePath(std::u16string hostPath) {
  std::replace(hostPath.begin(), hostPath.end(), kShownSlash, u'/');
  PutCoreRoot(hostPath);
  return hostPath;
}

void ShowNameToHost(TFindDataW& record) {
  for (char16_t& unit : record.FileName) {
    if (unit == 0) break;
    if (unit == u'/') unit = kShownSlash;
  }
}

// Each "/" grows by two bytes; a name that no longer fits is cut before the first
// character that would not fit whole.
void ShowNameToHost(TFindData& record) {
  constexpr std::size_t room = sizeof(record.FileName) - 1;
  const std::size_t length = strnlen(record.FileName, room);
  std::string shown;
  std::size_t i = 0;
  for (; i < length; ++i) {
    const bool slash = record.FileName[i] == '/';
    if (shown.size() + (slash ? kShownSlashBytes : 1) > room) break;
    shown += slash ? std::string(kShownSlashUtf8) : std::string(1, record.FileName[i]);
  }
  const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  if (i < length && continuation(record.FileName[i])) {
    while (!shown.empty() && continuation(shown.back())) shown.pop_back();
    if (!shown.empty()) shown.pop_back();  // the cut character's first byte
  }
  std::memcpy(record.FileName, shown.c_str(), shown.size() + 1);
}

}  // namespace plenvox
