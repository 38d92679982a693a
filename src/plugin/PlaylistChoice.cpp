#include "plugin/PlaylistChoice.h"

#include <optional>

#include "common/FileNames.h"
#include "common/Utf8.h"

namespace plenvox {

namespace {

std::optional<std::uint64_t> LastWriteTime(Platform& os, const std::string& path) {
  TFileRecord found;
  if (!os.FindFile(TTextEncoding::Utf8, path, found)) return std::nullopt;
  return static_cast<std::uint64_t>(found.LastWriteTime.High) << 32 | found.LastWriteTime.Low;
}

}  // namespace

TTextEncoding ChoosePlaylistEncoding(Platform& os, const std::string& base) {
  const auto unicode = LastWriteTime(os, base + PlaylistFileName(kPlayerPlaylistFile, TTextEncoding::Utf8));
  if (!unicode) return TTextEncoding::Ansi;
  const auto ansi = LastWriteTime(os, base + std::string(kPlayerPlaylistFile));
  return !ansi || *unicode >= *ansi ? TTextEncoding::Utf8 : TTextEncoding::Ansi;
}

}  // namespace plenvox
