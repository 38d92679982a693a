// The "item" line of one find-data record: every field, each compared with the record
// as the host passed it in. A field that the plug-in left as it came is written "=".
//   item  attributes  creation  last-access  last-write  size-high  size-low
//         reserved0  reserved1  name  short-name
// Attributes and reserved words are 8 hex digits, times 16 hex digits (the 64-bit
// FILETIME value), sizes decimal, names escaped text up to their terminating zero (the
// names of the Unicode record in UTF-8).
#pragma once

#include "plugin/HostInterface.h"

namespace plenvox::e2e {

void PrintFindData(const TFindData& record, const TFindData& passed);
void PrintFindData(const TFindDataW& record, const TFindDataW& passed);

}  // namespace plenvox::e2e
