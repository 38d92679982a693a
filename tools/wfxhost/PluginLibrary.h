// The plug-in file as the host sees it: loaded with LoadLibrary, every entry point of
// the interface looked up by its undecorated name, and each call made with the host's
// calling convention, keeping the thread's last error as the call left it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "StdcallCall.h"

namespace plenvox::e2e {

// The thread's last error as the host leaves it right before every call, so that a
// call that does not set it can be told from one that does.
constexpr DWORD kLastErrorBeforeCall = 12345;

// The interface's entry points, in the order the load report lists them: the ANSI
// forms, the Unicode (W) forms, then the content columns', then the items' pictures'.
constexpr std::array<const char*, 32> kEntryPointNames = {
    "FsInit",        "FsGetDefRootName", "FsFindFirst",  "FsFindNext",   "FsFindClose",
    "FsGetFile",     "FsStatusInfo",     "FsPutFile",    "FsDeleteFile", "FsExecuteFile",
    "FsInitW",       "FsFindFirstW",     "FsFindNextW",  "FsGetFileW",   "FsStatusInfoW",
    "FsPutFileW",    "FsDeleteFileW",    "FsExecuteFileW",
    "FsContentGetSupportedField", "FsContentGetSupportedFieldFlags",
    "FsContentGetDefaultSortOrder", "FsContentGetDefaultView", "FsContentGetDefaultViewW",
    "FsContentGetValue", "FsContentGetValueW", "FsContentStopGetValue",
    "FsContentStopGetValueW", "FsContentPluginUnloading",
    "FsExtractCustomIcon", "FsExtractCustomIconW", "FsGetPreviewBitmap", "FsGetPreviewBitmapW"};

class PluginLibrary {
 public:
  ~PluginLibrary();
  // Loads the file and reports the load and every entry point ("load", "export" lines).
  bool Load(const std::string& path);
  // Unloads the library (the plug-in's unload runs) and reports it.
  void Unload();
  bool Has(const std::string& name) const { return Find(name) != nullptr; }

  // Calls an entry point that Has() found.
  template <typename R, typename... A>
  R Call(const std::string& name, A... args) {
    ::SetLastError(kLastErrorBeforeCall);
    if constexpr (std::is_void_v<R>) {
      CallExport<R>(Find(name), name.c_str(), args...);
      lastError_ = ::GetLastError();
    } else {
      const R result = CallExport<R>(Find(name), name.c_str(), args...);
      lastError_ = ::GetLastError();
      return result;
    }
  }
  // The thread's last error right after the most recent call.
  DWORD LastError() const { return lastError_; }

 private:
  FARPROC Find(const std::string& name) const;

  HMODULE module_ = nullptr;
  std::array<FARPROC, kEntryPointNames.size()> entries_{};
  DWORD lastError_ = 0;
};

}  // namespace plenvox::e2e
