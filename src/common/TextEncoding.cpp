#include "common/TextEncoding.h"

#include "common/Text.h"
#include "common/Utf8.h"

namespace plenvox {

std::string CutLine(TTextEncoding encoding, std::string_view line) {
  if (encoding == TTextEncoding::Ansi) return CutShort(line);
  return std::string(Utf8PrefixOfBytes(line, kUtf8LineMax));
}

std::string_view NamePrefix(TTextEncoding encoding, std::string_view path) {
  if (encoding == TTextEncoding::Ansi) return path.substr(0, kShortStringMax);
  return Utf8PrefixOfUnits(path, kWideNameMax);
}

std::string CutName(TTextEncoding encoding, std::string_view path) {
  return std::string(NamePrefix(encoding, path));
}

std::string PlaylistFileName(std::string_view m3uName, TTextEncoding encoding) {
  return std::string(m3uName) + (encoding == TTextEncoding::Utf8 ? "8" : "");
}

}  // namespace plenvox
