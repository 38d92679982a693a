// The exported entry points of the host's content columns (FsContent...), in their ANSI
// and Unicode forms. Like Exports.cpp, each one only translates the host's C arguments
// and forwards to the front end's columns (plugin/Columns.h), which catch everything; the
// host may call FsContentGetValue(W) from its background thread.
#include <windows.h>

#include "plugin/HostInterface.h"
#include "plugin/dll/ExportForward.h"

namespace {

using plenvox::Columns;
using plenvox::dll::Forward;
using plenvox::dll::Front;
using plenvox::dll::Text;

BOOL Boolean(bool value) { return value ? plenvox::wfx::kTrue : FALSE; }

template <typename Char>
int GetValueOf(Char* fileName, int fieldIndex, int unitIndex, void* fieldValue, int maxlen, int flags) {
  return Forward(plenvox::wfx::kFtFileError, [&](plenvox::Plugin& front) {
    return front.Content().GetValueW(Text(fileName), fieldIndex, unitIndex, fieldValue, maxlen, flags);
  });
}

template <>
int GetValueOf(char* fileName, int fieldIndex, int unitIndex, void* fieldValue, int maxlen, int flags) {
  return Forward(plenvox::wfx::kFtFileError, [&](plenvox::Plugin& front) {
    return front.Content().GetValue(Text(fileName), fieldIndex, unitIndex, fieldValue, maxlen, flags);
  });
}

}  // namespace

extern "C" {

// Field names, units and the view are the same whatever the state: answered also before
// FsInit (some hosts enumerate the fields first).
__declspec(dllexport) int WINAPI FsContentGetSupportedField(int fieldIndex, char* fieldName,
                                                            char* units, int maxlen) {
  return Columns::GetSupportedField(fieldIndex, fieldName, units, maxlen);
}

__declspec(dllexport) int WINAPI FsContentGetSupportedFieldFlags(int fieldIndex) {
  return Columns::GetSupportedFieldFlags(fieldIndex);
}

__declspec(dllexport) int WINAPI FsContentGetDefaultSortOrder(int fieldIndex) {
  return Columns::GetDefaultSortOrder(fieldIndex);
}

__declspec(dllexport) BOOL WINAPI FsContentGetDefaultView(char* contents, char* headers,
                                                          char* widths, char* options, int maxlen) {
  return Boolean(Columns::GetDefaultView(contents, headers, widths, options, maxlen));
}

__declspec(dllexport) BOOL WINAPI FsContentGetDefaultViewW(WCHAR* contents, WCHAR* headers,
                                                           WCHAR* widths, WCHAR* options,
                                                           int maxlen) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  return Boolean(Columns::GetDefaultViewW(
      reinterpret_cast<char16_t*>(contents), reinterpret_cast<char16_t*>(headers),
      reinterpret_cast<char16_t*>(widths), reinterpret_cast<char16_t*>(options), maxlen));
}

__declspec(dllexport) int WINAPI FsContentGetValue(char* fileName, int fieldIndex, int unitIndex,
                                                   void* fieldValue, int maxlen, int flags) {
  return GetValueOf(fileName, fieldIndex, unitIndex, fieldValue, maxlen, flags);
}

__declspec(dllexport) int WINAPI FsContentGetValueW(WCHAR* fileName, int fieldIndex, int unitIndex,
                                                    void* fieldValue, int maxlen, int flags) {
  return GetValueOf(fileName, fieldIndex, unitIndex, fieldValue, maxlen, flags);
}

// The name's copy may fail too: inside Forward, which catches it.
__declspec(dllexport) void WINAPI FsContentStopGetValue(char* fileName) {
  Forward(0, [&](plenvox::Plugin& front) {
    front.Content().StopGetValue(Text(fileName));
    return 0;
  });
}

__declspec(dllexport) void WINAPI FsContentStopGetValueW(WCHAR* fileName) {
  Forward(0, [&](plenvox::Plugin& front) {
    front.Content().StopGetValueW(Text(fileName));
    return 0;
  });
}

__declspec(dllexport) void WINAPI FsContentPluginUnloading() {
  if (Front()) Front()->Content().PluginUnloading();
}

}  // extern "C"
