// The per-item record that the host hands to the listing: the layout of Windows'
// WIN32_FIND_DATAA, declared with fixed-width fields so that it is the same 320 bytes
// in the 32-bit and the 64-bit plug-in and in the native build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plenvox {

struct TFileTime {
  std::uint32_t Low;
  std::uint32_t High;
};

struct TFindData {
  std::uint32_t FileAttributes;
  TFileTime CreationTime;
  TFileTime LastAccessTime;
  TFileTime LastWriteTime;
  std::uint32_t FileSizeHigh;
  std::uint32_t FileSizeLow;
  std::uint32_t Reserved0;
  std::uint32_t Reserved1;
  char FileName[260];
  char AlternateFileName[14];
};

static_assert(sizeof(TFileTime) == 8, "FILETIME is two 32-bit words");
static_assert(alignof(TFindData) == 4, "the host's record is 4-byte aligned");
static_assert(sizeof(TFindData) == 320, "WIN32_FIND_DATAA is 320 bytes");
static_assert(offsetof(TFindData, FileSizeHigh) == 28, "size fields follow the three times");
static_assert(offsetof(TFindData, FileName) == 44, "the name follows the reserved words");
static_assert(offsetof(TFindData, AlternateFileName) == 304, "the short name follows the name");

constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;

}  // namespace plenvox
