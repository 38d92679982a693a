// One item of the listing as the core fills it, before the host's record: which fields
// it writes (every one in the display modes 0 to 2, none in others) and their values,
// the names in the core's encoding. The edge writes it into the host's ANSI or Unicode
// record, leaving every other field as the host passed it.
#pragma once

#include <string>

#include "platform/FindData.h"
#include "platform/Platform.h"

namespace plenvox {

struct TListedItem {
  // The fields that the item writes.
  enum Field : unsigned {
    kAttributes = 1u << 0,
    kCreationTime = 1u << 1,
    kLastAccessTime = 1u << 2,
    kLastWriteTime = 1u << 3,
    kSizes = 1u << 4,
    kReserved = 1u << 5,
    kShortName = 1u << 6,
    kName = 1u << 7,
    // Everything that a look-up of the file gives, the name aside.
    kFileFields = kAttributes | kCreationTime | kLastAccessTime | kLastWriteTime | kSizes |
                  kReserved | kShortName,
  };

  unsigned Written = 0;
  // The values of the written fields; File.AlternateFileName is the short name.
  TFileRecord File;
  // The entry's path, as long as the name rule of the playlist's encoding lets it be.
  std::string Name;

  bool Writes(Field field) const { return (Written & field) != 0; }
};

// Writes the item into the host's record. Names are converted from the encoding given
// (the listed playlist's): to the ANSI code page for the ANSI record, to UTF-16 for the
// Unicode one, cut to what the record holds with its terminating zero.
void WriteItem(Platform& os, TTextEncoding encoding, const TListedItem& item, TFindData& record);
void WriteItem(Platform& os, TTextEncoding encoding, const TListedItem& item, TFindDataW& record);

// Whether the record's name is empty, as the listing's first item may leave it.
bool HasEmptyName(const TFindData& record);
bool HasEmptyName(const TFindDataW& record);

}  // namespace plenvox
