// The host's published file-system plug-in interface (WFX), declared once for every
// side of it: the plug-in's exports, the scripted host of the end-to-end tests and the
// host's own test plug-in. Numbers, records and callback types as the interface
// defines them; the find-data records are the system's (platform/FindData.h). A host
// that finds the W form of an entry point (UTF-16 texts, the W record) calls it instead
// of the ANSI one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/FindData.h"

// The interface's calling convention: stdcall on Windows (the callee removes its
// arguments), the C convention where the host runs on other systems.
#if defined(_WIN32)
#define PLENVOX_WFX_CALL __stdcall
#else
#define PLENVOX_WFX_CALL
#endif

namespace plenvox::wfx {

// FsStatusInfo: the start and end of an operation, and the operations Plenvox tells apart.
constexpr int kStatusStart = 0;
constexpr int kStatusEnd = 1;
constexpr int kOpList = 1;
constexpr int kOpGetSingle = 2;
constexpr int kOpGetMulti = 3;
constexpr int kOpPutSingle = 4;
constexpr int kOpPutMulti = 5;
constexpr int kOpDelete = 8;
constexpr int kOpGetMultiThread = 19;

// FsExecuteFile: results, and the verbs that the host passes.
constexpr int kExecOk = 0;
constexpr int kExecError = 1;
constexpr const char* kVerbOpen = "open";
constexpr const char* kVerbProperties = "properties";
// What the user types on the host's command line arrives behind this prefix.
constexpr const char* kVerbQuotePrefix = "quote ";

// FsGetFile / FsPutFile results.
constexpr int kFileOk = 0;
constexpr int kFileExists = 1;
constexpr int kFileNotFound = 2;
constexpr int kFileReadError = 3;
constexpr int kFileWriteError = 4;
constexpr int kFileUserAbort = 5;
constexpr int kFileNotSupported = 6;

// A find-data record's time that is not known: the host shows no date for it.
constexpr TFileTime kNoFileTime{0xFFFFFFFEu, 0xFFFFFFFFu};
// FsGetFile's copy flags.
constexpr int kCopyOverwrite = 1;
constexpr int kCopyResume = 2;
constexpr int kCopyMove = 4;

// The progress callback's answer when the user wants to stop.
constexpr int kProgressAbort = 1;

// FsFindFirst: the search handle of a listing with entries, and the invalid handle.
constexpr std::intptr_t kSearchHandle = 0;
constexpr std::intptr_t kInvalidHandle = -1;

// A Boolean answered with all bits set, as the host's Pascal-born interface writes true.
constexpr int kTrue = -1;

// The content columns (FsContent...): field types and results.
constexpr int kFtNoMoreFields = 0;
constexpr int kFtNumeric32 = 1;
constexpr int kFtNumeric64 = 2;
constexpr int kFtNumericFloating = 3;
constexpr int kFtBoolean = 6;
constexpr int kFtMultipleChoice = 7;
constexpr int kFtString = 8;
constexpr int kFtDateTime = 10;
constexpr int kFtStringW = 11;
constexpr int kFtDelayed = 0;
constexpr int kFtNoSuchField = -1;
constexpr int kFtFileError = -2;
constexpr int kFtFieldEmpty = -3;
// FsContentGetValue's flags: the value may be put off (kFtDelayed) when slow to get.
constexpr int kContentDelayIfSlow = 1;
// FsContentGetSupportedFieldFlags: the field that the host may show in its size column.
constexpr int kContentFlagSubstSize = 2;

// The callbacks that the host hands to FsInit.
using TProgressProc = int(PLENVOX_WFX_CALL*)(int pluginNumber, char* sourceName, char* targetName,
                                             int percentDone);
using TLogProc = void(PLENVOX_WFX_CALL*)(int pluginNumber, int messageType, char* logText);
using TRequestProc = int(PLENVOX_WFX_CALL*)(int pluginNumber, int requestType, char* customTitle,
                                            char* customText, char* returnedText, int maxLength);

// The same callbacks for FsInitW, with UTF-16 texts.
using TProgressProcW = int(PLENVOX_WFX_CALL*)(int pluginNumber, char16_t* sourceName,
                                              char16_t* targetName, int percentDone);
using TLogProcW = void(PLENVOX_WFX_CALL*)(int pluginNumber, int messageType, char16_t* logText);
using TRequestProcW = int(PLENVOX_WFX_CALL*)(int pluginNumber, int requestType,
                                             char16_t* customTitle, char16_t* customText,
                                             char16_t* returnedText, int maxLength);

// What FsGetFile is told of the remote file.
struct TRemoteInfo {
  std::uint32_t SizeLow;
  std::uint32_t SizeHigh;
  TFileTime LastWriteTime;
  std::int32_t Attributes;
};

static_assert(sizeof(TRemoteInfo) == 20, "RemoteInfoStruct is five 32-bit words");
static_assert(offsetof(TRemoteInfo, LastWriteTime) == 8, "the time follows the two sizes");

}  // namespace plenvox::wfx
