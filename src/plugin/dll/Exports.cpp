// The exported entry points of the host's file-system plug-in interface, in their ANSI
// and their Unicode (W) forms. Each one only translates the host's C arguments and
// forwards to the front end, whose entry points catch everything and convert the texts
// to the encoding of the core; the names stay undecorated through PlenvoxFast.def.
#include <windows.h>

#include <cstddef>
#include <new>
#include <string>

#include "platform/win32/Win32Platform.h"
#include "plugin/HostInterface.h"
#include "plugin/WindowsEdition.h"

namespace {

plenvox::Win32Platform* g_platform = nullptr;
plenvox::WindowsEdition* g_edition = nullptr;

plenvox::Plugin* Front() { return g_edition ? &g_edition->plugin : nullptr; }

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// WCHAR is a 16-bit unit on Windows: the host's UTF-16 text as it is.
std::u16string Text(const WCHAR* text) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

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

__declspec(dllexport) int WINAPI FsInit(int, plenvox::wfx::TProgressProc, plenvox::wfx::TLogProc,
                                        plenvox::wfx::TRequestProc) {
  return Front() ? Front()->FsInit() : 0;
}

__declspec(dllexport) void WINAPI FsGetDefRootName(char* name, int size) {
  if (Front()) Front()->FsGetDefRootName(name, size);
}

__declspec(dllexport) HANDLE WINAPI FsFindFirst(char* path, WIN32_FIND_DATAA* record) {
  if (!Front() || !record) return INVALID_HANDLE_VALUE;
  try {
    return reinterpret_cast<HANDLE>(Front()->FsFindFirst(Text(path), Record(record)));
  } catch (...) {
    return INVALID_HANDLE_VALUE;
  }
}

__declspec(dllexport) BOOL WINAPI FsFindNext(HANDLE, WIN32_FIND_DATAA* record) {
  if (!Front() || !record) return FALSE;
  return Front()->FsFindNext(Record(record)) ? plenvox::wfx::kTrue : FALSE;
}

__declspec(dllexport) int WINAPI FsFindClose(HANDLE) { return Front() ? Front()->FsFindClose() : 0; }

__declspec(dllexport) int WINAPI FsGetFile(char*, char*, int, plenvox::wfx::TRemoteInfo*) {
  return Front() ? Front()->FsGetFile() : plenvox::wfx::kFileNotSupported;
}

__declspec(dllexport) void WINAPI FsStatusInfo(char*, int startEnd, int operation) {
  if (Front()) Front()->FsStatusInfo(startEnd, operation);
}

__declspec(dllexport) int WINAPI FsPutFile(char* localName, char*, int) {
  if (!Front()) return plenvox::wfx::kFileOk;
  try {
    return Front()->FsPutFile(Text(localName));
  } catch (...) {
    return plenvox::wfx::kFileOk;
  }
}

__declspec(dllexport) BOOL WINAPI FsDeleteFile(char* remoteName) {
  if (!Front()) return plenvox::wfx::kTrue;
  try {
    return Front()->FsDeleteFile(Text(remoteName));
  } catch (...) {
    return plenvox::wfx::kTrue;
  }
}

__declspec(dllexport) int WINAPI FsExecuteFile(HWND, char* remoteName, char* verb) {
  if (!Front()) return plenvox::wfx::kExecError;
  try {
    return Front()->FsExecuteFile(Text(remoteName), Text(verb));
  } catch (...) {
    return plenvox::wfx::kExecError;
  }
}

// --- The Unicode forms ------------------------------------------------------------------

__declspec(dllexport) int WINAPI FsInitW(int, plenvox::wfx::TProgressProcW, plenvox::wfx::TLogProcW,
                                         plenvox::wfx::TRequestProcW) {
  return Front() ? Front()->FsInitW() : 0;
}

__declspec(dllexport) HANDLE WINAPI FsFindFirstW(WCHAR* path, WIN32_FIND_DATAW* record) {
  if (!Front() || !record) return INVALID_HANDLE_VALUE;
  try {
    return reinterpret_cast<HANDLE>(Front()->FsFindFirstW(Text(path), Record(record)));
  } catch (...) {
    return INVALID_HANDLE_VALUE;
  }
}

__declspec(dllexport) BOOL WINAPI FsFindNextW(HANDLE, WIN32_FIND_DATAW* record) {
  if (!Front() || !record) return FALSE;
  return Front()->FsFindNextW(Record(record)) ? plenvox::wfx::kTrue : FALSE;
}

__declspec(dllexport) int WINAPI FsGetFileW(WCHAR*, WCHAR*, int, plenvox::wfx::TRemoteInfo*) {
  return Front() ? Front()->FsGetFile() : plenvox::wfx::kFileNotSupported;
}

__declspec(dllexport) void WINAPI FsStatusInfoW(WCHAR*, int startEnd, int operation) {
  if (Front()) Front()->FsStatusInfo(startEnd, operation);
}

__declspec(dllexport) int WINAPI FsPutFileW(WCHAR* localName, WCHAR*, int) {
  if (!Front()) return plenvox::wfx::kFileOk;
  try {
    return Front()->FsPutFileW(Text(localName));
  } catch (...) {
    return plenvox::wfx::kFileOk;
  }
}

__declspec(dllexport) BOOL WINAPI FsDeleteFileW(WCHAR* remoteName) {
  if (!Front()) return plenvox::wfx::kTrue;
  try {
    return Front()->FsDeleteFileW(Text(remoteName));
  } catch (...) {
    return plenvox::wfx::kTrue;
  }
}

__declspec(dllexport) int WINAPI FsExecuteFileW(HWND, WCHAR* remoteName, WCHAR* verb) {
  if (!Front()) return plenvox::wfx::kExecError;
  try {
    return Front()->FsExecuteFileW(Text(remoteName), Text(verb));
  } catch (...) {
    return plenvox::wfx::kExecError;
  }
}

}  // extern "C"
