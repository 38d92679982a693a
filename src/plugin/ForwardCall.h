// The one body of every exported entry point, in each edition's export file: the call
// reaches the front end only when the library's load made one, and whatever is raised on
// the way becomes the entry point's fallback answer, so that nothing reaches the host.
#pragma once

#include "plugin/Plugin.h"

namespace plenvox {

template <typename R, typename Call>
R ForwardCall(Plugin* front, R fallback, Call call) {
  if (!front) return fallback;
  try {
    return call(*front);
  } catch (...) {
    return fallback;
  }
}

}  // namespace plenvox
