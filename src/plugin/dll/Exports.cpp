// The exported entry points of the host's file-system plug-in interface. Each one only
// translates the host's C arguments and forwards to the Plugin, whose entry points
// catch everything; the names stay undecorated through PlenvoxFast.def.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <new>

#include "platform/win32/Win32Platform.h"
#include "plugin/Plugin.h"
#include "plugin/Wfx.h"

namespace {

plenvox::Win32Platform* g_platform = nullptr;
plenvox::Plugin* g_plugin = nullptr;

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

plenvox::TFindData& Record(WIN32_FIND_DATAA* record) {
  return *reinterpret_cast<plenvox::TFindData*>(record);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_platform = new (std::nothrow) plenvox::Win32Platform(instance);
    if (!g_platform) return FALSE;
    try {
      g_plugin = new plenvox::Plugin(*g_platform);
    } catch (...) {
      delete g_platform;
      g_platform = nullptr;
      return FALSE;
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    delete g_plugin;
    delete g_platform;
    g_plugin = nullptr;
    g_platform = nullptr;
  }
  return TRUE;
}

__declspec(dllexport) int WINAPI FsInit(int, void*, void*, void*) {
  return g_plugin ? g_plugin->FsInit() : 0;
}

__declspec(dllexport) void WINAPI FsGetDefRootName(char* name, int size) {
  if (g_plugin) g_plugin->FsGetDefRootName(name, size);
}

__declspec(dllexport) HANDLE WINAPI FsFindFirst(char* path, WIN32_FIND_DATAA* record) {
  if (!g_plugin || !record) return INVALID_HANDLE_VALUE;
  try {
    return reinterpret_cast<HANDLE>(g_plugin->FsFindFirst(Text(path), Record(record)));
  } catch (...) {
    return INVALID_HANDLE_VALUE;
  }
}

__declspec(dllexport) BOOL WINAPI FsFindNext(HANDLE, WIN32_FIND_DATAA* record) {
  if (!g_plugin || !record) return FALSE;
  return g_plugin->FsFindNext(Record(record)) ? plenvox::wfx::kTrue : FALSE;
}

__declspec(dllexport) int WINAPI FsFindClose(HANDLE) { return g_plugin ? g_plugin->FsFindClose() : 0; }

__declspec(dllexport) int WINAPI FsGetFile(char*, char*, int, void*) {
  return g_plugin ? g_plugin->FsGetFile() : plenvox::wfx::kFileNotSupported;
}

__declspec(dllexport) void WINAPI FsStatusInfo(char*, int startEnd, int operation) {
  if (g_plugin) g_plugin->FsStatusInfo(startEnd, operation);
}

__declspec(dllexport) int WINAPI FsPutFile(char* localName, char*, int) {
  if (!g_plugin) return plenvox::wfx::kFileOk;
  try {
    return g_plugin->FsPutFile(Text(localName));
  } catch (...) {
    return plenvox::wfx::kFileOk;
  }
}

__declspec(dllexport) BOOL WINAPI FsDeleteFile(char* remoteName) {
  if (!g_plugin) return plenvox::wfx::kTrue;
  try {
    return g_plugin->FsDeleteFile(Text(remoteName));
  } catch (...) {
    return plenvox::wfx::kTrue;
  }
}

__declspec(dllexport) int WINAPI FsExecuteFile(HWND, char* remoteName, char* verb) {
  if (!g_plugin) return plenvox::wfx::kExecError;
  try {
    return g_plugin->FsExecuteFile(Text(remoteName), Text(verb));
  } catch (...) {
    return plenvox::wfx::kExecError;
  }
}

}  // extern "C"
