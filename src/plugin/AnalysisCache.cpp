#include "plugin/AnalysisCache.h"

#include "audio/DescribeAudio.h"

namespace plenvox {

namespace {

std::uint64_t Join(std::uint32_t high, std::uint32_t low) {
  return (std::uint64_t{high} << 32) | low;
}

}  // namespace

std::shared_ptr<const TAudioDescription> AnalysisCache::Analyse(const std::string& path,
                                                                TTextEncoding encoding) {
  std::uint32_t codePage = 0;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    codePage = tagCodePage_;
  }
  return std::make_shared<TAudioDescription>(
      DescribeAudioFile(os_, encoding, path, TCodePageTagText(os_, codePage)));
}

void AnalysisCache::UseTagCodePage(std::uint32_t codePage) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (codePage == tagCodePage_) return;
  tagCodePage_ = codePage;
  order_.clear();
  byPath_.clear();
  bytes_ = 0;
}

bool AnalysisCache::Entry::Describes(const TFileRecord& record) const {
  return Size == Join(record.FileSizeHigh, record.FileSizeLow) &&
         LastWrite == Join(record.LastWriteTime.High, record.LastWriteTime.Low);
}

const AnalysisCache::Entry& AnalysisCache::Find(const std::string& path, const TFileRecord& record,
                                                 TTextEncoding encoding,
                                                 std::unique_lock<std::mutex>& lock) {
  const auto found = byPath_.find(path);
  if (found != byPath_.end()) {
    const Order::iterator entry = found->second;
    if (entry->Describes(record)) {
      order_.splice(order_.begin(), order_, entry);
      return *entry;
    }
    Forget(entry);
  }
  // Analysed without the lock, so that a slow disk holds up no other caller.
  lock.unlock();
  auto audio = Analyse(path, encoding);
  const std::uint64_t size = Join(record.FileSizeHigh, record.FileSizeLow);
  const std::uint64_t lastWrite = Join(record.LastWriteTime.High, record.LastWriteTime.Low);
  const std::size_t bytes = sizeof(Entry) + sizeof(TAudioDescription) + 2 * path.capacity() + audio->TextBytes();
  lock.lock();
  const auto again = byPath_.find(path);
  if (again != byPath_.end()) Forget(again->second);  // another caller analysed it meanwhile
  Keep(Entry{path, size, lastWrite, audio->PlayTime, audio, bytes});
  return order_.front();
}

std::shared_ptr<const TAudioDescription> AnalysisCache::Analysis(const std::string& path,
                                                          const TFileRecord& record,
                                                          TTextEncoding encoding) {
  std::unique_lock<std::mutex> lock(mutex_);
  return Find(path, record, encoding, lock).Audio;
}

std::shared_ptr<const TAudioDescription> AnalysisCache::Kept(const std::string& path,
                                                      const TFileRecord& record) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = byPath_.find(path);
  if (found == byPath_.end() || !found->second->Describes(record)) return nullptr;
  return found->second->Audio;
}

double AnalysisCache::PlayTime(const std::string& path, const TFileRecord& record,
                               TTextEncoding encoding) {
  std::unique_lock<std::mutex> lock(mutex_);
  return Find(path, record, encoding, lock).PlayTime;
}

void AnalysisCache::Keep(Entry entry) {
  // Kept also when it alone passes the bound, so that the caller has it; the next
  // analysis makes room.
  while (bytes_ + entry.Bytes > maxBytes_ && !order_.empty()) Forget(std::prev(order_.end()));
  bytes_ += entry.Bytes;
  order_.push_front(std::move(entry));
  byPath_[order_.front().Path] = order_.begin();
}

void AnalysisCache::Forget(Order::iterator entry) {
  bytes_ -= entry->Bytes;
  byPath_.erase(entry->Path);
  order_.erase(entry);
}

std::size_t AnalysisCache::Count() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return order_.size();
}

std::size_t AnalysisCache::Bytes() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

}  // namespace plenvox
