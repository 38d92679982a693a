// Numbers of the host's file-system plug-in interface (WFX) that Plenvox uses.
#pragma once

#include <cstdint>

namespace plenvox::wfx {

// FsStatusInfo
constexpr int kStatusStart = 0;
constexpr int kStatusEnd = 1;
constexpr int kOpList = 1;
constexpr int kOpPutSingle = 4;
constexpr int kOpPutMulti = 5;
constexpr int kOpDelete = 8;

// FsExecuteFile
constexpr int kExecOk = 0;
constexpr int kExecError = 1;

// FsGetFile / FsPutFile
constexpr int kFileOk = 0;
constexpr int kFileNotSupported = 6;

// FsFindFirst: the search handle of a listing with entries, and the invalid handle.
constexpr std::intptr_t kSearchHandle = 0;
constexpr std::intptr_t kInvalidHandle = -1;

// A Boolean answered with all bits set, as the host's Pascal-born interface writes true.
constexpr int kTrue = -1;
constexpr int kFalse = 0;

}  // namespace plenvox::wfx
