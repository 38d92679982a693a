// The exported entry points of the Linux edition, as Double Commander calls them: plain
// C names (the only symbols that the library exports), the ANSI forms with UTF-8 texts,
// the W forms with UTF-16 ones, "/" as the root. Each one translates the host's
// arguments (HostNames.h), forwards to the front end, whose entry points catch
// everything, and shows the listed names in the host's form.
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>

#include "platform/posix/PosixPlatform.h"
#include "plugin/ForwardCall.h"
#include "plugin/HostInterface.h"
#include "plugin/so/HostNames.h"
#include "plugin/so/LinuxEdition.h"

#define PLENVOX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Bool = std::int32_t;  // the interface's 32-bit BOOL
using Handle = void*;
using Window = void*;

const Handle kInvalidHandle = reinterpret_cast<Handle>(plenvox::wfx::kInvalidHandle);

// Made when the library is loaded, released when it is unloaded.
struct Library {
  Library() {
    try {
      edition = new plenvox::LinuxEdition(platform);
    } catch (...) {
      edition = nullptr;
    }
  }
  ~Library() { delete edition; }
  plenvox::PosixPlatform platform;
  plenvox::LinuxEdition* edition = nullptr;
};

Library& TheLibrary() {
  static Library library;
  return library;
}

plenvox::Plugin* Front() {
  plenvox::LinuxEdition* edition = TheLibrary().edition;
  return edition ? &edition->plugin : nullptr;
}

// The host's text, as the core takes it from this form.
std::string Text(const char* text) { return text ? std::string(text) : std::string(); }
std::u16string Text(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

template <typename R, typename Call>
R Forward(R fallback, Call call) {
  return plenvox::ForwardCall(Front(), fallback, call);
}

template <typename Char, typename Record>
Handle FindFirstOf(const Char* path, Record* record) {
  if (!record) return kInvalidHandle;
  return Forward(kInvalidHandle, [&](plenvox::Plugin& front) {
    std::intptr_t handle = plenvox::wfx::kInvalidHandle;
    if constexpr (std::is_same_v<Char, char>) {
      handle = front.FsFindFirst(plenvox::CoreRemotePath(Text(path)), *record);
    } else {
      handle = front.FsFindFirstW(plenvox::CoreRemotePath(Text(path)), *record);
    }
    if (handle != plenvox::wfx::kInvalidHandle) plenvox::ShowNameToHost(*record);
    return reinterpret_cast<Handle>(handle);
  });
}

template <typename Record>
Bool FindNextOf(Record* record) {
  if (!record) return 0;
  return Forward<Bool>(0, [&](plenvox::Plugin& front) {
    bool more = false;
    if constexpr (std::is_same_v<Record, plenvox::TFindData>) {
      more = front.FsFindNext(*record);
    } else {
      more = front.FsFindNextW(*record);
    }
    if (more) plenvox::ShowNameToHost(*record);
    return more ? plenvox::wfx::kTrue : 0;
  });
}

}  // namespace

PLENVOX_EXPORT int FsInit(int number, plenvox::wfx::TProgressProc progress, plenvox::wfx::TLogProc,
                          plenvox::wfx::TRequestProc request) {
  if (TheLibrary().edition) TheLibrary().edition->host.Keep(number, request);
  if (Front()) Front()->KeepProgress(number, progress);
  return Forward(0, [](plenvox::Plugin& front) { return front.FsInit(); });
}

PLENVOX_EXPORT int FsInitW(int number, plenvox::wfx::TProgressProcW progress, plenvox::wfx::TLogProcW,
                           plenvox::wfx::TRequestProcW request) {
  if (TheLibrary().edition) TheLibrary().edition->host.Keep(number, request);
  if (Front()) Front()->KeepProgressW(number, progress);
  return Forward(0, [](plenvox::Plugin& front) { return front.FsInitW(); });
}

PLENVOX_EXPORT void FsGetDefRootName(char* name, int size) {
  if (Front()) Front()->FsGetDefRootName(name, size);
}

PLENVOX_EXPORT Handle FsFindFirst(char* path, plenvox::TFindData* record) {
  return FindFirstOf(path, record);
}

PLENVOX_EXPORT Handle FsFindFirstW(char16_t* path, plenvox::TFindDataW* record) {
  return FindFirstOf(path, record);
}

PLENVOX_EXPORT Bool FsFindNext(Handle, plenvox::TFindData* record) { return FindNextOf(record); }

PLENVOX_EXPORT Bool FsFindNextW(Handle, plenvox::TFindDataW* record) { return FindNextOf(record); }

PLENVOX_EXPORT int FsFindClose(Handle) {
  return Forward(0, [](plenvox::Plugin& front) { return front.FsFindClose(); });
}

// Double Commander copies to the local name it gave, so nothing is written back.
PLENVOX_EXPORT int FsGetFile(char* remoteName, char* localName, int flags, plenvox::wfx::TRemoteInfo*) {
  if (!remoteName || !localName) return plenvox::wfx::kFileNotFound;
  return Forward(plenvox::wfx::kFileWriteError, [&](plenvox::Plugin& front) {
    std::string local = Text(localName);
    return front.FsGetFile(plenvox::CoreRemotePath(Text(remoteName)), local, flags);
  });
}

PLENVOX_EXPORT int FsGetFileW(char16_t* remoteName, char16_t* localName, int flags,
                              plenvox::wfx::TRemoteInfo*) {
  if (!remoteName || !localName) return plenvox::wfx::kFileNotFound;
  return Forward(plenvox::wfx::kFileWriteError, [&](plenvox::Plugin& front) {
    std::u16string local = Text(localName);
    return front.FsGetFileW(plenvox::CoreRemotePath(Text(remoteName)), local, flags);
  });
}

PLENVOX_EXPORT void FsStatusInfo(char*, int startEnd, int operation) {
  if (Front()) Front()->FsStatusInfo(startEnd, operation);
}

PLENVOX_EXPORT void FsStatusInfoW(char16_t*, int startEnd, int operation) {
  FsStatusInfo(nullptr, startEnd, operation);
}

PLENVOX_EXPORT int FsPutFile(char* localName, char*, int) {
  return Forward(plenvox::wfx::kFileOk, [&](plenvox::Plugin& front) { return front.FsPutFile(Text(localName)); });
}

PLENVOX_EXPORT int FsPutFileW(char16_t* localName, char16_t*, int) {
  return Forward(plenvox::wfx::kFileOk, [&](plenvox::Plugin& front) { return front.FsPutFileW(Text(localName)); });
}

PLENVOX_EXPORT Bool FsDeleteFile(char* remoteName) {
  return Forward<Bool>(plenvox::wfx::kTrue, [&](plenvox::Plugin& front) {
    return front.FsDeleteFile(plenvox::CoreRemotePath(Text(remoteName)));
  });
}

PLENVOX_EXPORT Bool FsDeleteFileW(char16_t* remoteName) {
  return Forward<Bool>(plenvox::wfx::kTrue, [&](plenvox::Plugin& front) {
    return front.FsDeleteFileW(plenvox::CoreRemotePath(Text(remoteName)));
  });
}

PLENVOX_EXPORT int FsExecuteFile(Window, char* remoteName, char* verb) {
  return Forward(plenvox::wfx::kExecError, [&](plenvox::Plugin& front) {
    return front.FsExecuteFile(plenvox::CoreRemotePath(Text(remoteName)), Text(verb));
  });
}

PLENVOX_EXPORT int FsExecuteFileW(Window, char16_t* remoteName, char16_t* verb) {
  return Forward(plenvox::wfx::kExecError, [&](plenvox::Plugin& front) {
    return front.FsExecuteFileW(plenvox::CoreRemotePath(Text(remoteName)), Text(verb));
  });
}

// --- The content columns ------------------------------------------------------------
// Field names, units and the view are the same whatever the state: answered also before
// FsInit (Double Commander enumerates the fields first). A value's name is an item's
// remote name, in the host's form like every other.

PLENVOX_EXPORT int FsContentGetSupportedField(int fieldIndex, char* fieldName, char* units, int maxlen) {
  return plenvox::Columns::GetSupportedField(fieldIndex, fieldName, units, maxlen);
}

PLENVOX_EXPORT int FsContentGetSupportedFieldFlags(int fieldIndex) {
  return plenvox::Columns::GetSupportedFieldFlags(fieldIndex);
}

PLENVOX_EXPORT int FsContentGetDefaultSortOrder(int fieldIndex) {
  return plenvox::Columns::GetDefaultSortOrder(fieldIndex);
}

PLENVOX_EXPORT Bool FsContentGetDefaultView(char* contents, char* headers, char* widths, char* options,
                                            int maxlen) {
  return plenvox::Columns::GetDefaultView(contents, headers, widths, options, maxlen) ? plenvox::wfx::kTrue
                                                                                      : 0;
}

PLENVOX_EXPORT Bool FsContentGetDefaultViewW(char16_t* contents, char16_t* headers, char16_t* widths,
                                             char16_t* options, int maxlen) {
  return plenvox::Columns::GetDefaultViewW(contents, headers, widths, options, maxlen) ? plenvox::wfx::kTrue
                                                                                       : 0;
}

PLENVOX_EXPORT int FsContentGetValue(char* fileName, int fieldIndex, int unitIndex, void* fieldValue,
                                     int maxlen, int flags) {
  return Forward(plenvox::wfx::kFtFileError, [&](plenvox::Plugin& front) {
    return front.Content().GetValue(plenvox::CoreRemotePath(Text(fileName)), fieldIndex, unitIndex,
                                    fieldValue, maxlen, flags);
  });
}

PLENVOX_EXPORT int FsContentGetValueW(char16_t* fileName, int fieldIndex, int unitIndex, void* fieldValue,
                                      int maxlen, int flags) {
  return Forward(plenvox::wfx::kFtFileError, [&](plenvox::Plugin& front) {
    return front.Content().GetValueW(plenvox::CoreRemotePath(Text(fileName)), fieldIndex, unitIndex,
                                     fieldValue, maxlen, flags);
  });
}

PLENVOX_EXPORT void FsContentStopGetValue(char* fileName) {
  Forward(0, [&](plenvox::Plugin& front) {
    front.Content().StopGetValue(plenvox::CoreRemotePath(Text(fileName)));
    return 0;
  });
}

PLENVOX_EXPORT void FsContentStopGetValueW(char16_t* fileName) {
  Forward(0, [&](plenvox::Plugin& front) {
    front.Content().StopGetValueW(plenvox::CoreRemotePath(Text(fileName)));
    return 0;
  });
}

PLENVOX_EXPORT void FsContentPluginUnloading() {
  if (Front()) Front()->Content().PluginUnloading();
}
