#include "plugin/Columns.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "common/Utf8.h"
#include "playlist/PlaylistFile.h"
#include "plugin/ContentFields.h"
#include "plugin/ContentValues.h"

namespace plenvox {

// The values got so far for the entry of one name: immutable once kept; getting more
// makes a new one.
struct Columns::TEntryValues {
  std::shared_ptr<const TColumnSnapshot> Snapshot;
  const TColumnEntry* Entry = nullptr;  // inside Snapshot; nothing: no entry of that name
  bool Wide = false;
  std::string Key;  // the host's name as asked (wide: its UTF-16 units' bytes)
  TFieldNeed Reached = TFieldNeed::Entry;
  bool Found = false;
  TFileRecord File;
  std::shared_ptr<const TAudioDescription> Audio;

  TFieldSources Sources() const {
    return TFieldSources{Entry, Snapshot->Encoding(), Found, &File, Audio.get()};
  }
};

namespace {

bool Valid(int fieldIndex) { return fieldIndex >= 0 && fieldIndex < kFieldCount; }

// Copies text into a buffer of maxlen units, cut to fit with its terminating zero.
template <typename Char>
void CopyOut(std::string_view text, Char* buffer, int maxlen) {
  if (!buffer || maxlen <= 0) return;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(maxlen) - 1);
  for (std::size_t i = 0; i < length; ++i) buffer[i] = static_cast<Char>(static_cast<unsigned char>(text[i]));
  buffer[length] = Char{};
}

template <typename Char>
bool DefaultViewInto(Char* contents, Char* headers, Char* widths, Char* options, int maxlen) {
  CopyOut(kDefaultViewContents, contents, maxlen);
  CopyOut(kDefaultViewHeaders, headers, maxlen);
  CopyOut(kDefaultViewWidths, widths, maxlen);
  CopyOut(kDefaultViewOptions, options, maxlen);
  return true;
}

}  // namespace

int Columns::GetSupportedField(int fieldIndex, char* fieldName, char* units, int maxlen) noexcept {
  if (!Valid(fieldIndex)) return wfx::kFtNoMoreFields;
  const TContentField& field = kContentFields[static_cast<std::size_t>(fieldIndex)];
  CopyOut(field.Name, fieldName, maxlen);
  CopyOut(field.Units, units, maxlen);
  return field.Type;
}

int Columns::GetSupportedFieldFlags(int fieldIndex) noexcept {
  if (fieldIndex == -1) {
    int all = 0;
    for (const TContentField& field : kContentFields) all |= field.Flags;
    return all;
  }
  return Valid(fieldIndex) ? kContentFields[static_cast<std::size_t>(fieldIndex)].Flags : 0;
}

int Columns::GetDefaultSortOrder(int fieldIndex) noexcept {
  return Valid(fieldIndex) ? kContentFields[static_cast<std::size_t>(fieldIndex)].SortOrder : 1;
}

bool Columns::GetDefaultView(char* contents, char* headers, char* widths, char* options,
                             int maxlen) noexcept {
  return DefaultViewInto(contents, headers, widths, options, maxlen);
}

bool Columns::GetDefaultViewW(char16_t* contents, char16_t* headers, char16_t* widths,
                              char16_t* options, int maxlen) noexcept {
  return DefaultViewInto(contents, headers, widths, options, maxlen);
}

// --- Values -----------------------------------------------------------------------------

Columns::Values Columns::Resolve(std::string_view hostName, bool wide) const {
  auto values = std::make_shared<TEntryValues>();
  values->Snapshot = snapshots_.Current();
  values->Wide = wide;
  values->Key.assign(hostName);
  // A wide name that the ANSI playlist cannot hold is none of its entries.
  const auto name = EntryNameOfHostName(os_, hostName, wide, values->Snapshot->Encoding());
  if (!name) return values;
  values->Entry = values->Snapshot->Find(*name);
  return values;
}

Columns::Values Columns::FromListing(const TEntryValues& values, int need) const {
  const TColumnEntry& entry = *values.Entry;
  if (!entry.Looked) return nullptr;
  auto more = std::make_shared<TEntryValues>(values);
  more->Found = entry.Found;
  more->File = entry.File();
  more->Reached = TFieldNeed::File;
  if (need == static_cast<int>(TFieldNeed::Audio)) {
    if (entry.Found) more->Audio = analyses_.Kept(std::string(entry.Path), more->File);
    if (!entry.Found || more->Audio) more->Reached = TFieldNeed::Audio;
  }
  return more;
}

Columns::Values Columns::Fresh(const TEntryValues& values, int need) {
  const std::u16string name = StopName(values.Key, values.Wide);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++pending_[name];
  }
  struct Done {
    Columns& columns;
    const std::u16string& name;
    ~Done() {
      const std::lock_guard<std::mutex> lock(columns.mutex_);
      if (--columns.pending_[name] == 0) {
        columns.pending_.erase(name);
        columns.stopped_.erase(name);
      }
    }
  } done{*this, name};

  const std::string path(values.Entry->Path);
  const TTextEncoding encoding = values.Snapshot->Encoding();
  auto more = std::make_shared<TEntryValues>(values);
  // A path with a character that its playlist lost names no file (its "?" would match
  // another file's name).
  more->Found = !LostACharacter(os_, encoding, path) && os_.FindFile(encoding, path, more->File);
  more->Audio = nullptr;
  more->Reached = TFieldNeed::File;
  if (need == static_cast<int>(TFieldNeed::Audio)) {
    if (more->Found) {
      if (Stopped(name)) return nullptr;
      more->Audio = analyses_.Analysis(path, more->File, encoding);
    }
    more->Reached = TFieldNeed::Audio;
  }
  return Stopped(name) ? nullptr : more;
}

void Columns::Remember(const Values& values) {
  const std::lock_guard<std::mutex> lock(mutex_);
  last_ = values;
}

Columns::Values Columns::ValuesFor(std::string_view hostName, bool wide, int need, bool delayAllowed) {
  Values values;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (last_ && last_->Wide == wide && last_->Key == hostName &&
        last_->Snapshot->Generation() == snapshots_.PublishedGeneration()) {
      values = last_;
    }
  }
  if (!values) {
    values = Resolve(hostName, wide);
    Remember(values);
  }
  if (!values->Entry || static_cast<int>(values->Reached) >= need) return values;
  Values more = FromListing(*values, need);
  if (more) Remember(more);
  if (more && static_cast<int>(more->Reached) >= need) return more;
  if (delayAllowed) return nullptr;
  more = Fresh(more ? *more : *values, need);
  if (more) Remember(more);
  return more;
}

TFieldValue Columns::Value(std::string_view hostName, bool wide, int fieldIndex, int unitIndex,
                           int flags) {
  if (unloading_) return TFieldValue{wfx::kFtFieldEmpty};
  if (!Valid(fieldIndex)) return TFieldValue{wfx::kFtNoSuchField};
  const int need = static_cast<int>(kContentFields[static_cast<std::size_t>(fieldIndex)].Need);
  const bool delayAllowed = (flags & wfx::kContentDelayIfSlow) != 0;
  const Values values = ValuesFor(hostName, wide, need, delayAllowed);
  if (!values) return TFieldValue{delayAllowed ? wfx::kFtDelayed : wfx::kFtFieldEmpty};
  if (!values->Entry) return TFieldValue{wfx::kFtFileError};
  return FieldValue(values->Sources(), fieldIndex, unitIndex);
}

template <typename Text>
int Columns::GetValueOf(const Text& fileName, int fieldIndex, int unitIndex, void* fieldValue,
                        int maxlen, int flags) noexcept {
  try {
    constexpr bool wide = std::is_same_v<Text, std::u16string>;
    std::string_view name;
    if constexpr (wide) name = BytesOfWide(fileName);
    else name = fileName;
    return WriteFieldValue(os_, Value(name, wide, fieldIndex, unitIndex, flags), wide, fieldValue,
                           maxlen);
  } catch (...) {
    return wfx::kFtFileError;
  }
}

int Columns::GetValue(const std::string& fileName, int fieldIndex, int unitIndex, void* fieldValue,
                      int maxlen, int flags) noexcept {
  return GetValueOf(fileName, fieldIndex, unitIndex, fieldValue, maxlen, flags);
}

int Columns::GetValueW(const std::u16string& fileName, int fieldIndex, int unitIndex,
                       void* fieldValue, int maxlen, int flags) noexcept {
  return GetValueOf(fileName, fieldIndex, unitIndex, fieldValue, maxlen, flags);
}

// --- Stopping ---------------------------------------------------------------------------

std::u16string Columns::StopName(std::string_view hostName, bool wide) const {
  return wide ? WideOfBytes(hostName) : os_.AnsiToWide(std::string(hostName));
}

bool Columns::Stopped(const std::u16string& name) const {
  if (unloading_) return true;
  const std::lock_guard<std::mutex> lock(mutex_);
  return stopped_.count(name) != 0;
}

void Columns::Stop(const std::u16string& name) {
  const std::lock_guard<std::mutex> lock(mutex_);
  // Only a value being got can be stopped; a later request for the name is answered.
  if (pending_.count(name) != 0) stopped_[name] = true;
}

void Columns::StopGetValue(const std::string& fileName) noexcept {
  try {
    Stop(StopName(fileName, false));
  } catch (...) {
  }
}

void Columns::StopGetValueW(const std::u16string& fileName) noexcept {
  try {
    Stop(fileName);
  } catch (...) {
  }
}

void Columns::PluginUnloading() noexcept { unloading_ = true; }

}  // namespace plenvox
