// What the export files share: the front end that the library's load made, the call
// that forwards to it (catching everything), and the host's C texts as the front end
// takes them.
#pragma once

#include <windows.h>

#include <string>

#include "plugin/ForwardCall.h"
#include "plugin/Plugin.h"

namespace plenvox::dll {

// The front end, or nothing when the library's load could not make one.
plenvox::Plugin* Front();

inline std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// WCHAR is a 16-bit unit on Windows: the host's UTF-16 text as it is.
inline std::u16string Text(const WCHAR* text) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// Calls the front end when the library's load made one, answering fallback otherwise
// and when anything is raised on the way.
template <typename R, typename Call>
R Forward(R fallback, Call call) {
  return ForwardCall(Front(), fallback, call);
}

}  // namespace plenvox::dll
