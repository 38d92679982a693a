// The listing of the virtual folder: one item per playlist entry, named by its path,
// showing what the display mode asks for.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FindData.h"
#include "plugin/AnalysisCache.h"
#include "plugin/FrontEndPart.h"

namespace plenvox {

constexpr const char* kFirstRunText =
    "Main settings file not found or empty. Please, run SETTINGS.EXE";
constexpr const char* kFirstRunCaption = "First run message";

class Listing : FrontEndPart {
 public:
  Listing(const FrontEndPart& parts, AnalysisCache& analyses) : FrontEndPart(parts), analyses_(analyses) {}

  // Loads the settings and fills the record with the first entry: the search handle,
  // or the invalid handle (last error 18) for an empty folder. Raises what reading the
  // playlist file raises.
  std::intptr_t FindFirst(const std::string& path, TFindData& record);
  // The next entry; false at the end or outside a listing of the root.
  bool FindNext(TFindData& record);
  // Ends a listing that failed: the folder shows as empty.
  std::intptr_t EmptyFolder();

 private:
  void ShowFirstRunMessage();
  void FillRecord(const std::string& path, TFindData& record, bool first);
  // The file's record and its play time; a file without a record is analysed all the
  // same (and lists with a play time of 0 when it cannot be read).
  double FindFileAndPlayTime(const std::string& path, TFindData& record);

  AnalysisCache& analyses_;
  std::string entry_;  // the entry being listed; its room serves the next ones
};

}  // namespace plenvox
