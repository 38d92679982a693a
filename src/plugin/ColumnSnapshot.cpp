#include "plugin/ColumnSnapshot.h"

#include <cstring>

#include "common/Text.h"
#include "common/Utf8.h"
#include "playlist/IoError.h"

namespace plenvox {

std::u16string WideOfBytes(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(&text[0], bytes.data(), text.size() * sizeof(char16_t));
  return text;
}

std::string_view BytesOfWide(const std::u16string& text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

std::optional<std::string> EntryNameOfHostName(Platform& os, std::string_view hostName, bool wide,
                                               TTextEncoding encoding) {
  if (wide) {
    std::u16string text = WideOfBytes(hostName);
    if (!text.empty() && text.front() == u'\\') text.erase(0, 1);
    return os.FromWideExactly(encoding, text);
  }
  std::string text(hostName);
  if (!text.empty() && text.front() == '\\') text.erase(0, 1);
  return encoding == TTextEncoding::Utf8 ? Utf16ToUtf8(os.AnsiToWide(text)) : text;
}

TFileRecord TColumnEntry::File() const {
  TFileRecord file;
  file.FileSizeHigh = FileSizeHigh;
  file.FileSizeLow = FileSizeLow;
  file.LastWriteTime = LastWriteTime;
  return file;
}

const TColumnEntry* TColumnEntries::Find(std::string_view name) const {
  const std::int32_t number = numbers_.Find(name);
  return number < 0 ? nullptr : &entries_[static_cast<std::size_t>(number)];
}

void TColumnEntries::Add(const std::string& path, const std::string& infoLine) {
  TColumnEntry& entry = entries_.emplace_back();
  entry.Position = static_cast<std::int32_t>(entries_.size());
  if (!infoLine.empty()) ParseInfoLine(infoLine, entry);
  texts_.push_back(Texts{text_.size(), path.size(), text_.size() + path.size(), entry.InfoTitle.size()});
  text_.append(path).append(entry.InfoTitle);
  entry.InfoTitle = {};
  // The first entry of a name keeps it, as the edits and commands find entries.
  numbers_.Add(NamePrefix(encoding_, path), entry.Position - 1);
}

void TColumnEntries::Join(const std::vector<TListedLookup>& lookups) {
  for (std::size_t i = 0; i < entries_.size() && i < lookups.size(); ++i) {
    TColumnEntry& entry = entries_[i];
    entry.Looked = true;
    entry.Found = lookups[i].Found;
    entry.FileSizeHigh = lookups[i].FileSizeHigh;
    entry.FileSizeLow = lookups[i].FileSizeLow;
    entry.LastWriteTime = lookups[i].LastWriteTime;
  }
}

void TColumnEntries::Seal() {
  const std::string_view text = text_;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].Path = text.substr(texts_[i].Path, texts_[i].PathSize);
    entries_[i].InfoTitle = text.substr(texts_[i].Title, texts_[i].TitleSize);
  }
  texts_ = {};
}

void TColumnSnapshot::ListPlaylist(const std::string& path, const TFileRecord* record) {
  playlist_ = path;
  hasRecord_ = record != nullptr;
  if (record) record_ = *record;
}

void TColumnSnapshot::Looked(const TFileRecord* file) {
  TListedLookup& lookup = lookups_.emplace_back();
  if (!file) return;
  lookup.Found = true;
  lookup.FileSizeHigh = file->FileSizeHigh;
  lookup.FileSizeLow = file->FileSizeLow;
  lookup.LastWriteTime = file->LastWriteTime;
}

void TColumnSnapshot::Read(Platform& os, TColumnEntries& entries) const {
  PlaylistFile file(os);
  file.Bind(playlist_, encoding_);
  file.Open();
  file.ReadLine();  // the header, whatever it holds, as the listing reads past it
  std::string path;
  std::string info;
  while (!file.Eof()) {
    ReadEntry(file, path, info);
    entries.Add(path, info);
  }
  file.Close();
}

bool TColumnSnapshot::Unchanged(Platform& os) const {
  TFileRecord now;
  return hasRecord_ && os.FindFile(encoding_, playlist_, now) &&
         now.FileSizeHigh == record_.FileSizeHigh && now.FileSizeLow == record_.FileSizeLow &&
         now.LastWriteTime.Low == record_.LastWriteTime.Low &&
         now.LastWriteTime.High == record_.LastWriteTime.High;
}

void TColumnSnapshot::Build(Platform& os) const {
  if (built_.load(std::memory_order_acquire)) return;
  const std::lock_guard<std::mutex> lock(buildMutex_);
  if (built_.load(std::memory_order_relaxed)) return;
  auto entries = std::make_unique<TColumnEntries>(encoding_);
  if (!playlist_.empty()) {
    try {
      Read(os, *entries);
    } catch (const IoError&) {
      // A playlist that cannot be read (any more) keeps the entries read before.
    }
    // The record after the reading: a file rewritten since the listing, or while it was
    // read here, does not pass for the one listed.
    if (entries->Size() == lookups_.size() && !lookups_.empty() && Unchanged(os)) {
      entries->Join(lookups_);
    }
  }
  entries->Seal();
  entries_ = std::move(entries);
  built_.store(true, std::memory_order_release);
}

void ParseInfoLine(std::string_view line, TColumnEntry& entry) {
  if (line.substr(0, kInfoLinePrefix.size()) != kInfoLinePrefix) return;
  line.remove_prefix(kInfoLinePrefix.size());
  const std::size_t comma = line.find(',');
  std::int32_t seconds = -1;
  if (ParseInt32(line.substr(0, comma), seconds) && seconds >= 0) {
    entry.HasInfoLength = true;
    entry.InfoLength = seconds;
  }
  if (comma != std::string_view::npos) entry.InfoTitle = line.substr(comma + 1);
}

void ColumnSnapshots::Begin(const std::string& path, TTextEncoding encoding, bool looksUp) {
  const std::size_t lastCount = current_->LookupCount();  // only this thread replaces it
  building_ = std::make_unique<TColumnSnapshot>(encoding, ++generation_);
  if (!looksUp) {
    building_->ListPlaylist(path, nullptr);
    return;
  }
  TFileRecord record;
  building_->ListPlaylist(path, os_.FindFile(encoding, path, record) ? &record : nullptr);
  building_->ReserveLookups(lastCount);
}

void ColumnSnapshots::Publish() {
  if (!building_) return;
  std::shared_ptr<const TColumnSnapshot> built(std::move(building_));
  const std::lock_guard<std::mutex> lock(mutex_);
  current_.swap(built);
  published_ = current_->Generation();
  // The snapshot replaced is released after the lock, by its last reader.
}

std::shared_ptr<const TColumnSnapshot> ColumnSnapshots::Current() const {
  std::shared_ptr<const TColumnSnapshot> current;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    current = current_;
  }
  current->Build(os_);
  return current;
}

}  // namespace plenvox
