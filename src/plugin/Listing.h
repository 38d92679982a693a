// The listing of the virtual folder: one item per playlist entry, named by its path,
// showing what the display mode asks for. It fills neutral items (ListedItem.h); the
// edge writes them into the host's record.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/AnalysisCache.h"
#include "plugin/ColumnSnapshot.h"
#include "plugin/FrontEndPart.h"
#include "plugin/ListedItem.h"

namespace plenvox {

constexpr const char* kFirstRunCaption = "First run message";

class Listing : FrontEndPart {
 public:
  // A listing of the root also keeps what the content columns read (its playlist file
  // and, in display modes 1 and 2, each entry's look-up), and publishes it when it ends.
  Listing(const FrontEndPart& parts, AnalysisCache& analyses, ColumnSnapshots& columns)
      : FrontEndPart(parts), analyses_(analyses), columns_(columns) {}

  // Over the settings that the caller has just loaded: the first entry's item (written
  // over item) and the search handle, or the invalid handle (last error 18) for an empty folder. Raises
  // what reading the playlist file raises.
  std::intptr_t FindFirst(const std::string& path, TListedItem& item);
  // The next entry; false at the end or outside a listing of the root.
  bool FindNext(TListedItem& item);
  // Ends a listing whose first item left the host's record without a name: the folder
  // shows as empty.
  std::intptr_t NoFirstEntry();
  // Ends a listing that failed: the folder shows as empty.
  std::intptr_t EmptyFolder();
  // The host closed the listing, at its end or before.
  void Close();

 private:
  void ShowFirstRunMessage();
  // The item of the entry at path, written over the caller's item (whose room it keeps);
  // the path's room may pass to the item's name.
  void FillItem(std::string& path, TListedItem& item);
  // The encoding of the playlist listed: of its lines, its entries' paths and the names.
  TTextEncoding Encoding() const;
  // False for an entry whose path holds a character that its playlist lost: the item
  // shows the file as missing, never the data of a file that the path's "?" would match.
  bool NamesAFile(const std::string& path) const;
  // The file's record (when it has one, kept for the columns) and its play time; a file
  // without a record is analysed all the same (and lists with a play time of 0 when it
  // cannot be read).
  double FindFileAndPlayTime(const std::string& path, TListedItem& item);

  AnalysisCache& analyses_;
  ColumnSnapshots& columns_;
  std::string entry_;  // the entry being listed; its room serves the next ones
};

}  // namespace plenvox
