// Calls into the plug-in with the host's calling convention. On 32-bit Windows the
// interface prescribes stdcall: the callee removes its arguments from the stack. The
// call goes through a small thunk that measures the stack pointer around the call, so a
// plug-in built with another convention (or another argument count) is reported
// instead of silently corrupting the host's stack. 64-bit Windows has one convention.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "Output.h"

#if defined(__i386__)
extern "C" std::uint32_t plenvox_e2e_call_stdcall(const void* function, const std::uint32_t* args,
                                                  std::uint32_t count, std::int32_t* leftOnStack);
#endif

namespace plenvox::e2e {

#if defined(__i386__)
template <typename T>
std::uint32_t StackWord(T value) {
  static_assert(sizeof(T) == 4, "every argument of the interface is one 32-bit word");
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
  } else {
    return static_cast<std::uint32_t>(value);
  }
}
#endif

template <typename R, typename... A>
R CallExport(FARPROC function, const char* name, A... args) {
#if defined(__i386__)
  const std::uint32_t words[sizeof...(A) + 1] = {StackWord(args)..., 0};
  std::int32_t left = 0;
  const std::uint32_t result =
      plenvox_e2e_call_stdcall(reinterpret_cast<const void*>(function), words, sizeof...(A), &left);
  if (left != 0) PrintLine({"abi", name, "stack off by " + std::to_string(left) + " bytes"});
  if constexpr (std::is_void_v<R>) {
    (void)result;
  } else if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<R>(static_cast<std::uintptr_t>(result));
  } else {
    return static_cast<R>(result);
  }
#else
  (void)name;
  using Typed = R(WINAPI*)(A...);
  return reinterpret_cast<Typed>(reinterpret_cast<void*>(function))(args...);
#endif
}

}  // namespace plenvox::e2e
