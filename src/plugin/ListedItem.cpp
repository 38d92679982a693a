#include "plugin/ListedItem.h"

#include <algorithm>

#include "common/Utf8.h"
#include "plugin/HostText.h"

namespace plenvox {

namespace {

template <typename Record>
void WriteFields(const TListedItem& item, Record& record) {
  const TFileRecord& file = item.File;
  if (item.Writes(TListedItem::kAttributes)) record.FileAttributes = file.FileAttributes;
  if (item.Writes(TListedItem::kCreationTime)) record.CreationTime = file.CreationTime;
  if (item.Writes(TListedItem::kLastAccessTime)) record.LastAccessTime = file.LastAccessTime;
  if (item.Writes(TListedItem::kLastWriteTime)) record.LastWriteTime = file.LastWriteTime;
  if (item.Writes(TListedItem::kSizes)) {
    record.FileSizeHigh = file.FileSizeHigh;
    record.FileSizeLow = file.FileSizeLow;
  }
  if (item.Writes(TListedItem::kReserved)) {
    record.Reserved0 = file.Reserved0;
    record.Reserved1 = file.Reserved1;
  }
}

// The text and its terminating zero; what lies behind the zero stays as it was. Copied
// by the library (basic_string::copy), which an inlined copy of a length known only at
// run time is not as fast as: the name is the most of what a listing writes.
template <typename Char, std::size_t N>
void WriteText(const std::basic_string<Char>& text, Char (&field)[N]) {
  field[text.copy(field, N - 1)] = Char{};
}

template <std::size_t N>
void WriteWide(Platform& os, TTextEncoding encoding, const std::string& text,
               char16_t (&field)[N]) {
  const std::u16string wide = os.ToWide(encoding, text);
  WriteText(std::u16string(Utf16Prefix(wide, N - 1)), field);
}

template <std::size_t N>
void WriteAnsi(Platform& os, TTextEncoding encoding, const std::string& text, char (&field)[N]) {
  if (encoding == TTextEncoding::Ansi) {
    WriteText(text, field);
  } else {
    WriteText(AnsiText(os, encoding, text), field);
  }
}

}  // namespace

void WriteItem(Platform& os, TTextEncoding encoding, const TListedItem& item, TFindData& record) {
  WriteFields(item, record);
  if (item.Writes(TListedItem::kShortName)) {
    WriteAnsi(os, encoding, item.File.AlternateFileName, record.AlternateFileName);
  }
  if (item.Writes(TListedItem::kName)) WriteAnsi(os, encoding, item.Name, record.FileName);
}

void WriteItem(Platform& os, TTextEncoding encoding, const TListedItem& item, TFindDataW& record) {
  WriteFields(item, record);
  if (item.Writes(TListedItem::kShortName)) {
    WriteWide(os, encoding, item.File.AlternateFileName, record.AlternateFileName);
  }
  if (item.Writes(TListedItem::kName)) WriteWide(os, encoding, item.Name, record.FileName);
}

bool HasEmptyName(const TFindData& record) { return record.FileName[0] == '\0'; }
bool HasEmptyName(const TFindDataW& record) { return record.FileName[0] == u'\0'; }

}  // namespace plenvox
