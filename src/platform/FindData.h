// The per-item records that the host hands to the listing, in the layouts of Windows'
// WIN32_FIND_DATAA (the ANSI entry points) and WIN32_FIND_DATAW (the Unicode ones),
// declared with fixed-width fields so that they are the same in the 32-bit and the
// 64-bit plug-in and in the native build; and the neutral record of a file look-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plenvox {

struct TFileTime {
  std::uint32_t Low;
  std::uint32_t High;
};

// The record with names of Char units: char for the ANSI record, char16_t (UTF-16) for
// the Unicode one.
template <typename Char>
struct TFindDataOf {
  std::uint32_t FileAttributes;
  TFileTime CreationTime;
  TFileTime LastAccessTime;
  TFileTime LastWriteTime;
  std::uint32_t FileSizeHigh;
  std::uint32_t FileSizeLow;
  std::uint32_t Reserved0;
  std::uint32_t Reserved1;
  Char FileName[260];
  Char AlternateFileName[14];
};

using TFindData = TFindDataOf<char>;
using TFindDataW = TFindDataOf<char16_t>;

static_assert(sizeof(TFileTime) == 8, "FILETIME is two 32-bit words");
static_assert(alignof(TFindData) == 4, "the host's record is 4-byte aligned");
static_assert(sizeof(TFindData) == 320, "WIN32_FIND_DATAA is 320 bytes");
static_assert(offsetof(TFindData, FileSizeHigh) == 28, "size fields follow the three times");
static_assert(offsetof(TFindData, FileName) == 44, "the name follows the reserved words");
static_assert(offsetof(TFindData, AlternateFileName) == 304, "the short name follows the name");
static_assert(alignof(TFindDataW) == 4, "the host's record is 4-byte aligned");
static_assert(sizeof(TFindDataW) == 592, "WIN32_FIND_DATAW is 592 bytes");
static_assert(offsetof(TFindDataW, FileSizeHigh) == 28, "size fields follow the three times");
static_assert(offsetof(TFindDataW, FileName) == 44, "the name follows the reserved words");
static_assert(offsetof(TFindDataW, AlternateFileName) == 564, "the short name follows the name");

// What a look-up of a file gives: the fields that both records share, and the file's
// name and short name in the encoding of the path that was looked up.
struct TFileRecord {
  std::uint32_t FileAttributes = 0;
  TFileTime CreationTime{};
  TFileTime LastAccessTime{};
  TFileTime LastWriteTime{};
  std::uint32_t FileSizeHigh = 0;
  std::uint32_t FileSizeLow = 0;
  std::uint32_t Reserved0 = 0;
  std::uint32_t Reserved1 = 0;
  std::string FileName;
  std::string AlternateFileName;
};

constexpr std::uint32_t kFileAttributeReadOnly = 0x01;
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;

}  // namespace plenvox
