#include "plugin/HostText.h"

namespace plenvox {

namespace {
bool CoreIsAnsi(Platform& os) { return os.TextEncoding() == TTextEncoding::Ansi; }
}  // namespace

std::optional<std::string> CoreText(Platform& os, const std::string& ansi) {
  return CoreIsAnsi(os) ? ansi : os.FromWide(os.AnsiToWide(ansi));
}

std::optional<std::string> CoreText(Platform& os, const std::u16string& wide) {
  return os.FromWideExactly(wide);
}

std::string AnsiText(Platform& os, const std::string& core) {
  return CoreIsAnsi(os) ? core : os.WideToAnsi(os.ToWide(core));
}

}  // namespace plenvox
