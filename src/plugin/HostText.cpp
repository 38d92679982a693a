#include "plugin/HostText.h"

namespace plenvox {

std::optional<std::string> CoreText(Platform& os, TTextEncoding core, const std::string& ansi) {
  return core == TTextEncoding::Ansi ? ansi : Utf16ToUtf8(os.AnsiToWide(ansi));
}

std::optional<std::string> CoreText(Platform& os, TTextEncoding core, const std::u16string& wide) {
  return os.FromWideExactly(core, wide);
}

std::string AnsiText(Platform& os, TTextEncoding core, const std::string& text) {
  return core == TTextEncoding::Ansi ? text : os.WideToAnsi(Utf8ToUtf16(text));
}

}  // namespace plenvox
