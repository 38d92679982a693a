#include "plugin/ColumnSnapshot.h"

#include "common/Text.h"

namespace plenvox {

TFileRecord TColumnEntry::File() const {
  TFileRecord file;
  file.FileSizeHigh = FileSizeHigh;
  file.FileSizeLow = FileSizeLow;
  file.LastWriteTime = LastWriteTime;
  return file;
}

const TColumnEntry* TColumnSnapshot::Find(std::string_view name) const {
  const std::int32_t number = numbers_.Find(name);
  return number < 0 ? nullptr : &entries_[static_cast<std::size_t>(number)];
}

TColumnEntry& TColumnSnapshot::Add(const std::string& path, const std::string& infoLine) {
  TColumnEntry& entry = entries_.emplace_back();
  entry.Position = static_cast<std::int32_t>(entries_.size());
  if (!infoLine.empty()) ParseInfoLine(infoLine, entry);
  texts_.push_back(Texts{text_.size(), path.size(), text_.size() + path.size(), entry.InfoTitle.size()});
  text_.append(path).append(entry.InfoTitle);
  entry.InfoTitle = {};
  // The first entry of a name keeps it, as the edits and commands find entries.
  numbers_.Add(NamePrefix(encoding_, path), entry.Position - 1);
  return entry;
}

void TColumnSnapshot::Seal() {
  const std::string_view text = text_;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].Path = text.substr(texts_[i].Path, texts_[i].PathSize);
    entries_[i].InfoTitle = text.substr(texts_[i].Title, texts_[i].TitleSize);
  }
  texts_ = {};
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

void ColumnSnapshots::Begin(TTextEncoding encoding) {
  building_ = std::make_unique<TColumnSnapshot>(encoding, ++generation_);
}

TColumnEntry* ColumnSnapshots::Add(const std::string& path, const std::string& infoLine) {
  return building_ ? &building_->Add(path, infoLine) : nullptr;
}

void ColumnSnapshots::Publish() {
  if (!building_) return;
  building_->Seal();
  std::shared_ptr<const TColumnSnapshot> built(std::move(building_));
  const std::lock_guard<std::mutex> lock(mutex_);
  current_.swap(built);
  published_ = current_->Generation();
  // The snapshot replaced is released after the lock, by its last reader.
}

std::shared_ptr<const TColumnSnapshot> ColumnSnapshots::Current() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

}  // namespace plenvox
