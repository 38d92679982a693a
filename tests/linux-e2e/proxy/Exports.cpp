// The recording proxy: a plug-in that Double Commander loads in place of the plug-in
// under test (named by PLENVOX_PROXY_TARGET), which it loads itself. Every entry point
// is forwarded unchanged; the call, its texts, what it answered and the find-data
// record that it filled are logged as the fixture logs them (CallLog.h), and so are the
// plug-in's requests to the host and the host's answers. The checks thus see what the
// host saw, without the plug-in under test knowing of any of it.
#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "../fixture/CallLog.h"
#include "../fixture/WfxInterface.h"

#define PROXY_EXPORT extern "C" __attribute__((visibility("default")))

using namespace fixture;

namespace {

using TRemoteInfoPtr = void*;

// The plug-in under test, loaded at the first call.
void* Target() {
  static void* library = [] {
    const char* path = std::getenv("PLENVOX_PROXY_TARGET");
    return path ? ::dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
  }();
  return library;
}

template <typename TFunction>
TFunction Entry(const char* name) {
  void* library = Target();
  return library ? reinterpret_cast<TFunction>(::dlsym(library, name)) : nullptr;
}

struct THost {
  TRequestProc Request = nullptr;
  TRequestProcW RequestW = nullptr;
};
THost Host;

// The host's request callback of either form, in between the plug-in and the host.
template <typename TUnit>
TBool RequestOf(int number, int type, TUnit* title, TUnit* text, TUnit* answer, int room) {
  constexpr bool wide = std::is_same_v<TUnit, TWChar>;
  TCallRecord record("Request");
  record.Text("via", wide ? "W" : "A").Number("type", type).Text("title", title).Text("text", text);
  TBool result = 0;
  if constexpr (wide) {
    if (Host.RequestW) result = Host.RequestW(number, type, title, text, answer, room);
  } else {
    if (Host.Request) result = Host.Request(number, type, title, text, answer, room);
  }
  record.Number("result", result);
  if (result) record.Text("returnedText", answer);
  record.Write();
  return result;
}

template <typename TRecord>
void LogItem(TCallRecord& record, const TRecord& data) {
  const std::uint64_t size = static_cast<std::uint64_t>(data.FileSizeHigh) << 32 | data.FileSizeLow;
  const auto time = [](const auto& stamp) {
    return static_cast<long long>(static_cast<std::uint64_t>(stamp.High) << 32 | stamp.Low);
  };
  record.Text("name", data.FileName)
      .Number("size", static_cast<long long>(size))
      .Number("creationTime", time(data.CreationTime))
      .Number("accessTime", time(data.LastAccessTime))
      .Number("writeTime", time(data.LastWriteTime))
      .Number("attributes", data.FileAttributes);
}

template <typename TUnit>
constexpr const char* Named(const char* ansi, const char* wide) {
  return std::is_same_v<TUnit, char> ? ansi : wide;
}

template <typename TUnit, typename TRecord>
THandle FindFirst(TUnit* path, TRecord* data) {
  const char* name = Named<TUnit>("FsFindFirst", "FsFindFirstW");
  TCallRecord record(name);
  record.Text("path", path);
  const auto call = Entry<THandle (*)(TUnit*, TRecord*)>(name);
  const THandle handle = call ? call(path, data) : reinterpret_cast<THandle>(std::intptr_t{-1});
  const bool found = handle != reinterpret_cast<THandle>(std::intptr_t{-1});
  record.Number("result", found ? 1 : -1);
  if (found && data) LogItem(record, *data);
  record.Write();
  return handle;
}

template <typename TRecord>
TBool FindNext(const char* name, THandle handle, TRecord* data) {
  TCallRecord record(name);
  const auto call = Entry<TBool (*)(THandle, TRecord*)>(name);
  const TBool more = call ? call(handle, data) : 0;
  record.Number("result", more ? 1 : 0);
  if (more && data) LogItem(record, *data);
  record.Write();
  return more;
}

template <typename TUnit>
void StatusInfo(TUnit* remoteDir, int startEnd, int operation) {
  const char* name = Named<TUnit>("FsStatusInfo", "FsStatusInfoW");
  TCallRecord(name).Text("dir", remoteDir).Number("startEnd", startEnd).Number("operation", operation).Write();
  if (const auto call = Entry<void (*)(TUnit*, int, int)>(name)) call(remoteDir, startEnd, operation);
}

template <typename TUnit>
int PutFile(TUnit* localName, TUnit* remoteName, int flags) {
  const char* name = Named<TUnit>("FsPutFile", "FsPutFileW");
  TCallRecord record(name);
  record.Text("local", localName).Text("remote", remoteName).Number("flags", flags);
  const auto call = Entry<int (*)(TUnit*, TUnit*, int)>(name);
  const int result = call ? call(localName, remoteName, flags) : 1;
  record.Number("result", result).Write();
  return result;
}

template <typename TUnit>
TBool DeleteFile(TUnit* remoteName) {
  const char* name = Named<TUnit>("FsDeleteFile", "FsDeleteFileW");
  TCallRecord record(name);
  record.Text("remote", remoteName);
  const auto call = Entry<TBool (*)(TUnit*)>(name);
  const TBool result = call ? call(remoteName) : 0;
  record.Number("result", result).Write();
  return result;
}

template <typename TUnit>
int ExecuteFile(TWindow window, TUnit* remoteName, TUnit* verb) {
  const char* name = Named<TUnit>("FsExecuteFile", "FsExecuteFileW");
  TCallRecord record(name);
  record.Text("remote", remoteName).Text("verb", verb);
  const auto call = Entry<int (*)(TWindow, TUnit*, TUnit*)>(name);
  const int result = call ? call(window, remoteName, verb) : 1;
  record.Number("result", result).Write();
  return result;
}

template <typename TUnit>
int GetFile(TUnit* remoteName, TUnit* localName, int flags, TRemoteInfoPtr info) {
  const char* name = Named<TUnit>("FsGetFile", "FsGetFileW");
  TCallRecord record(name);
  record.Text("remote", remoteName).Text("local", localName).Number("flags", flags);
  const auto call = Entry<int (*)(TUnit*, TUnit*, int, TRemoteInfoPtr)>(name);
  const int result = call ? call(remoteName, localName, flags, info) : 1;
  record.Number("result", result).Write();
  return result;
}

}  // namespace

PROXY_EXPORT int FsInit(int number, TProgressProc progress, TLogProc log, TRequestProc request) {
  TCallRecord("FsInit").Number("pluginNr", number).Text("target", std::getenv("PLENVOX_PROXY_TARGET"))
      .Number("loaded", Target() != nullptr).Write();
  Host.Request = request;
  const auto call = Entry<int (*)(int, TProgressProc, TLogProc, TRequestProc)>("FsInit");
  return call ? call(number, progress, log, request ? &RequestOf<char> : nullptr) : 0;
}

PROXY_EXPORT int FsInitW(int number, TProgressProcW progress, TLogProcW log, TRequestProcW request) {
  TCallRecord("FsInitW").Number("pluginNr", number).Write();
  Host.RequestW = request;
  const auto call = Entry<int (*)(int, TProgressProcW, TLogProcW, TRequestProcW)>("FsInitW");
  return call ? call(number, progress, log, request ? &RequestOf<TWChar> : nullptr) : 0;
}

PROXY_EXPORT void FsGetDefRootName(char* name, int size) {
  TCallRecord("FsGetDefRootName").Number("size", size).Write();
  if (const auto call = Entry<void (*)(char*, int)>("FsGetDefRootName")) call(name, size);
}

PROXY_EXPORT THandle FsFindFirst(char* path, TFindDataA* data) { return FindFirst(path, data); }
PROXY_EXPORT THandle FsFindFirstW(TWChar* path, TFindDataW* data) { return FindFirst(path, data); }
PROXY_EXPORT TBool FsFindNext(THandle handle, TFindDataA* data) { return FindNext("FsFindNext", handle, data); }
PROXY_EXPORT TBool FsFindNextW(THandle handle, TFindDataW* data) { return FindNext("FsFindNextW", handle, data); }

PROXY_EXPORT int FsFindClose(THandle handle) {
  TCallRecord("FsFindClose").Write();
  const auto call = Entry<int (*)(THandle)>("FsFindClose");
  return call ? call(handle) : 0;
}

PROXY_EXPORT void FsStatusInfo(char* dir, int startEnd, int operation) { StatusInfo(dir, startEnd, operation); }
PROXY_EXPORT void FsStatusInfoW(TWChar* dir, int startEnd, int operation) { StatusInfo(dir, startEnd, operation); }
PROXY_EXPORT int FsPutFile(char* local, char* remote, int flags) { return PutFile(local, remote, flags); }
PROXY_EXPORT int FsPutFileW(TWChar* local, TWChar* remote, int flags) { return PutFile(local, remote, flags); }
PROXY_EXPORT TBool FsDeleteFile(char* remote) { return DeleteFile(remote); }
PROXY_EXPORT TBool FsDeleteFileW(TWChar* remote) { return DeleteFile(remote); }
PROXY_EXPORT int FsExecuteFile(TWindow window, char* remote, char* verb) { return ExecuteFile(window, remote, verb); }
PROXY_EXPORT int FsExecuteFileW(TWindow window, TWChar* remote, TWChar* verb) {
  return ExecuteFile(window, remote, verb);
}
PROXY_EXPORT int FsGetFile(char* remote, char* local, int flags, TRemoteInfoPtr info) {
  return GetFile(remote, local, flags, info);
}
PROXY_EXPORT int FsGetFileW(TWChar* remote, TWChar* local, int flags, TRemoteInfoPtr info) {
  return GetFile(remote, local, flags, info);
}
