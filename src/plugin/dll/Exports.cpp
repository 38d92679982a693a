// The exported entry points of the host's file-system plug-in interface, in their ANSI
// and their Unicode (W) forms. Each one only translates the host's C arguments and
// forwards to the front end, whose entry points catch everything and convert the texts
// to the encoding of the core; the names stay undecorated through PlenvoxFast.def.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>
#include <type_traits>

#include "platform/win32/Win32Platform.h"
#include "plugin/HostInterface.h"
#include "plugin/WindowsEdition.h"
#include "plugin/dll/ExportForward.h"

namespace {

plenvox::Win32Platform* g_platform = nullptr;
plenvox::WindowsEdition* g_edition = nullptr;

}  // namespace

plenvox::Plugin* plenvox::dll::Front() { return g_edition ? &g_edition->plugin : nullptr; }

namespace {

using plenvox::dll::Forward;
using plenvox::dll::Front;
using plenvox::dll::Text;

plenvox::TFindData& Record(WIN32_FIND_DATAA* record) {
  static_assert(sizeof(WIN32_FIND_DATAA) == sizeof(plenvox::TFindData), "the host's record");
  return *reinterpret_cast<plenvox::TFindData*>(record);
}

plenvox::TFindDataW& Record(WIN32_FIND_DATAW* record) {
  static_assert(sizeof(WIN32_FIND_DATAW) == sizeof(plenvox::TFindDataW), "the host's W record");
  static_assert(offsetof(WIN32_FIND_DATAW, cAlternateFileName) ==
                    offsetof(plenvox::TFindDataW, AlternateFileName),
                "the same layout");
  return *reinterpret_cast<plenvox::TFindDataW*>(record);
}

// The entry points that both forms share, over the host's texts and records of either.
template <typename Char, typename Found>
HANDLE FindFirstOf(Char* path, Found* record) {
  if (!record) return INVALID_HANDLE_VALUE;
  return Forward(INVALID_HANDLE_VALUE, [&](plenvox::Plugin& front) {
    if constexpr (std::is_same_v<Char, char>) {
      return reinterpret_cast<HANDLE>(front.FsFindFirst(Text(path), Record(record)));
    } else {
      return reinterpret_cast<HANDLE>(front.FsFindFirstW(Text(path), Record(record)));
    }
  });
}

template <typename Found>
BOOL FindNextOf(Found* record) {
  if (!record) return FALSE;
  return Forward<BOOL>(FALSE, [&](plenvox::Plugin& front) {
    bool more = false;
    if constexpr (std::is_same_v<Found, WIN32_FIND_DATAA>) {
      more = front.FsFindNext(Record(record));
    } else {
      more = front.FsFindNextW(Record(record));
    }
    return more ? plenvox::wfx::kTrue : FALSE;
  });
}

// The host's buffer for the local name holds MAX_PATH units; a renamed target is written
// back into it (the front end renames only to a name that fits).
template <typename Char>
int GetFileOf(Char* remoteName, Char* localName, int flags) {
  if (!remoteName || !localName) return plenvox::wfx::kFileNotFound;
  return Forward(plenvox::wfx::kFileWriteError, [&](plenvox::Plugin& front) {
    auto local = Text(localName);
    int result = 0;
    if constexpr (std::is_same_v<Char, char>) {
      result = front.FsGetFile(Text(remoteName), local, flags);
    } else {
      result = front.FsGetFileW(Text(remoteName), local, flags);
    }
    if (local.size() < MAX_PATH && local != Text(localName)) {
      std::copy(local.begin(), local.end(), localName);
      localName[local.size()] = Char{};
    }
    return result;
  });
}

void StatusInfoOf(int startEnd, int operation) {
  if (Front()) Front()->FsStatusInfo(startEnd, operation);
}

template <typename Char>
int PutFileOf(Char* localName) {
  return Forward(plenvox::wfx::kFileOk, [&](plenvox::Plugin& front) {
    if constexpr (std::is_same_v<Char, char>) return front.FsPutFile(Text(localName));
    else return front.FsPutFileW(Text(localName));
  });
}

template <typename Char>
BOOL DeleteFileOf(Char* remoteName) {
  return Forward<BOOL>(plenvox::wfx::kTrue, [&](plenvox::Plugin& front) {
    if constexpr (std::is_same_v<Char, char>) return front.FsDeleteFile(Text(remoteName));
    else return front.FsDeleteFileW(Text(remoteName));
  });
}

template <typename Char>
int ExecuteFileOf(Char* remoteName, Char* verb) {
  return Forward(plenvox::wfx::kExecError, [&](plenvox::Plugin& front) {
    if constexpr (std::is_same_v<Char, char>) return front.FsExecuteFile(Text(remoteName), Text(verb));
    else return front.FsExecuteFileW(Text(remoteName), Text(verb));
  });
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_platform = new (std::nothrow) plenvox::Win32Platform(instance);
    if (!g_platform) return FALSE;
    try {
      g_edition = new plenvox::WindowsEdition(*g_platform);
    } catch (...) {
      delete g_platform;
      g_platform = nullptr;
      return FALSE;
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    delete g_edition;
    delete g_platform;
    g_edition = nullptr;
    g_platform = nullptr;
  }
  return TRUE;
}

__declspec(dllexport) int WINAPI FsInit(int number, plenvox::wfx::TProgressProc progress,
                                        plenvox::wfx::TLogProc, plenvox::wfx::TRequestProc) {
  if (Front()) Front()->KeepProgress(number, progress);
  return Forward(0, [](plenvox::Plugin& front) { return front.FsInit(); });
}

__declspec(dllexport) void WINAPI FsGetDefRootName(char* name, int size) {
  if (Front()) Front()->FsGetDefRootName(name, size);
}

__declspec(dllexport) HANDLE WINAPI FsFindFirst(char* path, WIN32_FIND_DATAA* record) {
  return FindFirstOf(path, record);
}

__declspec(dllexport) BOOL WINAPI FsFindNext(HANDLE, WIN32_FIND_DATAA* record) {
  return FindNextOf(record);
}

__declspec(dllexport) int WINAPI FsFindClose(HANDLE) {
  return Forward(0, [](plenvox::Plugin& front) { return front.FsFindClose(); });
}

__declspec(dllexport) int WINAPI FsGetFile(char* remoteName, char* localName, int flags,
                                           plenvox::wfx::TRemoteInfo*) {
  return GetFileOf(remoteName, localName, flags);
}

__declspec(dllexport) void WINAPI FsStatusInfo(char*, int startEnd, int operation) {
  StatusInfoOf(startEnd, operation);
}

__declspec(dllexport) int WINAPI FsPutFile(char* localName, char*, int) { return PutFileOf(localName); }

__declspec(dllexport) BOOL WINAPI FsDeleteFile(char* remoteName) { return DeleteFileOf(remoteName); }

__declspec(dllexport) int WINAPI FsExecuteFile(HWND, char* remoteName, char* verb) {
  return ExecuteFileOf(remoteName, verb);
}

// --- The Unicode forms ------------------------------------------------------------------

__declspec(dllexport) int WINAPI FsInitW(int number, plenvox::wfx::TProgressProcW progress,
                                         plenvox::wfx::TLogProcW, plenvox::wfx::TRequestProcW) {
  if (Front()) Front()->KeepProgressW(number, progress);
  return Forward(0, [](plenvox::Plugin& front) { return front.FsInitW(); });
}

__declspec(dllexport) HANDLE WINAPI FsFindFirstW(WCHAR* path, WIN32_FIND_DATAW* record) {
  return FindFirstOf(path, record);
}

__declspec(dllexport) BOOL WINAPI FsFindNextW(HANDLE, WIN32_FIND_DATAW* record) {
  return FindNextOf(record);
}

__declspec(dllexport) int WINAPI FsGetFileW(WCHAR* remoteName, WCHAR* localName, int flags,
                                            plenvox::wfx::TRemoteInfo*) {
  return GetFileOf(remoteName, localName, flags);
}

__declspec(dllexport) void WINAPI FsStatusInfoW(WCHAR*, int startEnd, int operation) {
  StatusInfoOf(startEnd, operation);
}

__declspec(dllexport) int WINAPI FsPutFileW(WCHAR* localName, WCHAR*, int) { return PutFileOf(localName); }

__declspec(dllexport) BOOL WINAPI FsDeleteFileW(WCHAR* remoteName) { return DeleteFileOf(remoteName); }

__declspec(dllexport) int WINAPI FsExecuteFileW(HWND, WCHAR* remoteName, WCHAR* verb) {
  return ExecuteFileOf(remoteName, verb);
}

}  // extern "C"
