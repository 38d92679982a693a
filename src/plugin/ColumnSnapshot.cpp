#include "plugin/ColumnSnapshot.h"

#include "common/Text.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

const TColumnEntry* TColumnSnapshot::Find(std::string_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

TColumnEntry& TColumnSnapshot::Add(const std::string& path, const std::string& infoLine) {
  TColumnEntry& entry = entries_.emplace_back();
  entry.Position = static_cast<std::int32_t>(entries_.size());
  entry.Path = path;
  if (!infoLine.empty()) ParseInfoLine(infoLine, entry);
  // The first entry of a name keeps it, as the edits and commands find entries.
  byName_.emplace(NamePrefix(encoding_, entry.Path), &entry);
  return entry;
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
  if (comma != std::string_view::npos) entry.InfoTitle.assign(line.substr(comma + 1));
}

void ColumnSnapshots::Begin(TTextEncoding encoding) {
  building_ = std::make_unique<TColumnSnapshot>(encoding, ++generation_);
}

TColumnEntry* ColumnSnapshots::Add(const std::string& path, const std::string& infoLine) {
  return building_ ? &building_->Add(path, infoLine) : nullptr;
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
  const std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

}  // namespace plenvox
