#include "plugin/ExtensionFilter.h"

#include <algorithm>

#include "common/Text.h"

namespace plenvox {

std::string ExtensionOf(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  const auto tail = path.substr(dot);
  if (tail.find_first_of("\\:") != std::string_view::npos) return {};
  return CutShort(tail);
}

std::vector<std::string> FilterItems(Platform& os, TTextEncoding encoding,
                                     const std::u16string& filter) {
  std::vector<std::string> items;
  std::size_t start = 0;
  // Stopping once start reaches the end is what makes a closing colon start no item.
  while (start < filter.size()) {
    auto colon = filter.find(u':', start);
    if (colon == std::u16string::npos) colon = filter.size();
    const std::u16string item = filter.substr(start, colon - start);
    items.push_back(CutShort(LowerAscii(os.FromWide(encoding, item))));
    start = colon + 1;
  }
  return items;
}

bool ExtAllowed(Platform& os, TTextEncoding encoding, const TSettings& settings,
                std::string_view extension) {
  const std::string wanted = LowerAscii(extension.substr(std::min<std::size_t>(1, extension.size())));
  const auto items = FilterItems(os, encoding, settings.ExtFilter);
  return std::find(items.begin(), items.end(), wanted) != items.end();
}

}  // namespace plenvox
