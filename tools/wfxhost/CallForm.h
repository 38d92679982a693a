// The two forms of the interface's text-bearing calls: the ANSI form (char texts, the A
// record) and the Unicode form (UTF-16 texts, the W record, entry points named with a
// trailing "W"). The script gives a text as bytes; the ANSI form passes them as they
// are, the Unicode form reads them as UTF-8. The host prints a Unicode text in UTF-8.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EscapedText.h"
#include "WideText.h"
#include "plugin/HostInterface.h"

namespace plenvox::e2e {

// A writable, zero-terminated copy with room for the MAX_PATH texts the host's
// interface lets a plug-in write back.
template <typename Char>
std::vector<Char> Buffer(const std::basic_string<Char>& text) {
  std::vector<Char> buffer(text.begin(), text.end());
  buffer.resize(std::max<std::size_t>(buffer.size() + 1, MAX_PATH + 1), Char{});
  return buffer;
}

struct AnsiForm {
  using Char = char;
  using Record = TFindData;
  // Appended to the entry point's name and to the command and result line's kind.
  static constexpr const char* kEntrySuffix = "";
  static constexpr const char* kLineSuffix = "";
  static std::vector<char> Text(const std::string& script) { return Buffer(script); }
  static std::string Printed(const char* text) { return EscapedText(text); }
};

struct WideForm {
  using Char = char16_t;
  using Record = TFindDataW;
  static constexpr const char* kEntrySuffix = "W";
  static constexpr const char* kLineSuffix = "w";
  static std::vector<char16_t> Text(const std::string& script) {
    const std::wstring wide = WideOfUtf8(script);
    return Buffer(std::u16string(wide.begin(), wide.end()));
  }
  static std::string Printed(const char16_t* text) {
    return EscapedText(Utf8OfWide(reinterpret_cast<const wchar_t*>(text)));
  }
};

template <typename Form>
std::string EntryPoint(const char* name) {
  return std::string(name) + Form::kEntrySuffix;
}

template <typename Form>
std::string LineKind(const char* kind) {
  return std::string(kind) + Form::kLineSuffix;
}

}  // namespace plenvox::e2e
