// The script's commands for the content columns (FsContent...): the field list, a value
// through either form (also from a second thread, as the host's background thread asks),
// stopping and unloading, the default view. README.md beside this file has their lines.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "EscapedText.h"
#include "Interpreter.h"
#include "Output.h"
#include "ScriptLine.h"
#include "WideText.h"

namespace plenvox::e2e {

namespace {

constexpr int kValueRoom = 1024;
constexpr int kFieldRoom = 256;

// The value in the buffer as the result's type reads it; nothing for the other results.
std::vector<std::string> ValueFields(int result, const unsigned char* buffer) {
  const auto read = [buffer](auto& value) { std::memcpy(&value, buffer, sizeof value); return value; };
  std::int32_t n32 = 0;
  std::int64_t n64 = 0;
  double floating = 0;
  char text[64];
  switch (result) {
    case wfx::kFtNumeric32: return {std::to_string(read(n32))};
    case wfx::kFtNumeric64: return {std::to_string(read(n64))};
    case wfx::kFtNumericFloating:
      std::snprintf(text, sizeof text, "%.3f", read(floating));
      return {text, EscapedText(reinterpret_cast<const char*>(buffer) + sizeof(double))};
    case wfx::kFtBoolean: return {read(n32) ? "true" : "false"};
    case wfx::kFtDateTime:
      std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(read(n64)));
      return {text};
    case wfx::kFtMultipleChoice:
    case wfx::kFtString: return {EscapedText(reinterpret_cast<const char*>(buffer))};
    case wfx::kFtStringW: return {EscapedText(Utf8OfWide(reinterpret_cast<const wchar_t*>(buffer)))};
    default: return {};
  }
}

}  // namespace

bool Interpreter::Fields(const Words&) {
  if (!Require("FsContentGetSupportedField", "fields")) return true;
  const bool hasFlags = plugin_.Has("FsContentGetSupportedFieldFlags");
  const bool hasOrder = plugin_.Has("FsContentGetDefaultSortOrder");
  int count = 0;
  for (;; ++count) {
    char name[kFieldRoom] = {};
    char units[kFieldRoom] = {};
    const int type = Guarded([&] {
      return plugin_.Call<int>("FsContentGetSupportedField", count, name, units, kFieldRoom);
    });
    if (type == wfx::kFtNoMoreFields) break;
    const int flags = hasFlags ? plugin_.Call<int>("FsContentGetSupportedFieldFlags", count) : 0;
    const int order = hasOrder ? plugin_.Call<int>("FsContentGetDefaultSortOrder", count) : 0;
    PrintLine({"field", std::to_string(count), std::to_string(type), EscapedText(name),
               EscapedText(units), std::to_string(flags), std::to_string(order)});
    if (count > 1000) return Fail("more than 1000 fields");
  }
  const int all = hasFlags ? plugin_.Call<int>("FsContentGetSupportedFieldFlags", -1) : 0;
  PrintLine({"fields", std::to_string(count), std::to_string(all)});
  return true;
}

template <typename Form>
bool Interpreter::Value(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsContentGetValue");
  const std::string kind = LineKind<Form>(onThread_ ? "valuethread" : "value");
  if (!Require(entry, kind)) return true;
  int field = 0, unit = 0, flags = 0, room = kValueRoom;
  if (w.size() < 4 || !ScriptNumber(w[2], field) || !ScriptNumber(w[3], unit) ||
      (w.size() > 4 && !ScriptNumber(w[4], flags)) || (w.size() > 5 && !ScriptNumber(w[5], room)) ||
      room < 0 || room > kValueRoom) {
    return Fail(kind + " REMOTE FIELD UNIT [FLAGS [MAXLEN]]");
  }
  auto remote = Form::Text(w[1]);
  std::vector<unsigned char> buffer(kValueRoom + sizeof(wchar_t), 0);
  const auto call = [&] {
    return plugin_.Call<int>(entry, remote.data(), field, unit, buffer.data(), room, flags);
  };
  int result = 0;
  if (onThread_) {
    // The host's background thread: a thread of its own, waited for.
    std::thread thread([&] { result = call(); });
    thread.join();
  } else {
    result = Guarded(call);
  }
  std::vector<std::string> line = {kind, w[2], w[3], std::to_string(result)};
  for (std::string& text : ValueFields(result, buffer.data())) line.push_back(std::move(text));
  PrintLine(line);
  return true;
}

template <typename Form>
bool Interpreter::ValueOnThread(const Words& w) {
  onThread_ = true;
  const bool done = Value<Form>(w);
  onThread_ = false;
  return done;
}

template <typename Form>
bool Interpreter::StopValue(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsContentStopGetValue");
  if (!Require(entry, LineKind<Form>("stopvalue"))) return true;
  auto remote = Form::Text(w[1]);
  Guarded([&] { plugin_.Call<void>(entry, remote.data()); });
  PrintLine({LineKind<Form>("stopvalue"), Form::Printed(remote.data())});
  return true;
}

bool Interpreter::Unloading(const Words&) {
  if (!Require("FsContentPluginUnloading", "unloading")) return true;
  Guarded([&] { plugin_.Call<void>("FsContentPluginUnloading"); });
  PrintLine({"unloading", "done"});
  return true;
}

template <typename Form>
bool Interpreter::DefaultView(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsContentGetDefaultView");
  const std::string kind = LineKind<Form>("defaultview");
  if (!Require(entry, kind)) return true;
  int room = 0;
  if (!ScriptNumber(w[1], room) || room < 1 || room > kValueRoom) return Fail(kind + " MAXLEN");
  using Char = typename Form::Char;
  std::vector<std::vector<Char>> texts(4, std::vector<Char>(kValueRoom + 1, Char{}));
  const BOOL result = Guarded([&] {
    return plugin_.Call<BOOL>(entry, texts[0].data(), texts[1].data(), texts[2].data(),
                              texts[3].data(), room);
  });
  std::vector<std::string> line = {kind, std::to_string(result)};
  for (const auto& text : texts) line.push_back(Form::Printed(text.data()));
  PrintLine(line);
  return true;
}

template bool Interpreter::Value<AnsiForm>(const Words&);
template bool Interpreter::Value<WideForm>(const Words&);
template bool Interpreter::ValueOnThread<AnsiForm>(const Words&);
template bool Interpreter::ValueOnThread<WideForm>(const Words&);
template bool Interpreter::StopValue<AnsiForm>(const Words&);
template bool Interpreter::StopValue<WideForm>(const Words&);
template bool Interpreter::DefaultView<AnsiForm>(const Words&);
template bool Interpreter::DefaultView<WideForm>(const Words&);

}  // namespace plenvox::e2e
