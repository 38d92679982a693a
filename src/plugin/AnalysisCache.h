// The analyses of the audio files that the folder's entries name, kept between
// listings: the host lists the folder again after every add and every delete, and a
// file that has not changed is not analysed again. An analysis belongs to the file as
// the listing's record shows it (its path, size and last-write time), so a file
// changed on disk is analysed anew.
//
// An analysis is the file's description (audio/AudioDescription.h), whatever its format;
// its 8-bit tag texts are read in the tag code page in force, and a change of that code
// page forgets every analysis.
//
// Bounded in memory: kAnalysisCacheBytes in all, counted per entry as its record, its
// path and the texts its tags hold (about 600 bytes for a file with the usual tags). When a new analysis would pass the bound, the analyses used
// longest ago make room. Safe to use from several threads: the content columns ask
// from the host's background thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "audio/AudioDescription.h"
#include "platform/FindData.h"
#include "platform/Platform.h"

namespace plenvox {

constexpr std::size_t kAnalysisCacheBytes = 32 * 1024 * 1024;

class AnalysisCache {
 public:
  explicit AnalysisCache(Platform& os, std::size_t maxBytes = kAnalysisCacheBytes)
      : os_(os), maxBytes_(maxBytes) {}

  // The analysis of the file at path as the record (from the file system) describes
  // it, path in the encoding given (that of the playlist whose entry it is), on any
  // thread; made now when none is kept for this version of the file. Never throws for a
  // file that cannot be analysed: its analysis is the cleared one.
  std::shared_ptr<const TAudioDescription> Analysis(const std::string& path, const TFileRecord& record,
                                             TTextEncoding encoding);
  // The analysis kept for this version of the file, or nothing; never analyses.
  std::shared_ptr<const TAudioDescription> Kept(const std::string& path, const TFileRecord& record) const;
  // Its play time alone, which is all that a listing shows: kept beside the analysis, so
  // that a listing of unchanged files touches no more than the cache's index.
  double PlayTime(const std::string& path, const TFileRecord& record, TTextEncoding encoding);

  // The code page of 8-bit tag texts (0: the ANSI code page); a new one forgets every
  // analysis.
  void UseTagCodePage(std::uint32_t codePage);

  std::size_t Count() const;
  std::size_t Bytes() const;

 private:
  struct Entry {
    std::string Path;
    std::uint64_t Size;
    std::uint64_t LastWrite;
    double PlayTime;
    std::shared_ptr<const TAudioDescription> Audio;
    std::size_t Bytes;

    bool Describes(const TFileRecord& record) const;
  };
  using Order = std::list<Entry>;

  // The entry kept for this version of the file, made now when there is none; the
  // caller holds the lock, which the analysis itself does not.
  const Entry& Find(const std::string& path, const TFileRecord& record, TTextEncoding encoding,
                    std::unique_lock<std::mutex>& lock);
  std::shared_ptr<const TAudioDescription> Analyse(const std::string& path, TTextEncoding encoding);
  void Keep(Entry entry);
  void Forget(Order::iterator entry);

  Platform& os_;
  const std::size_t maxBytes_;
  mutable std::mutex mutex_;
  Order order_;  // most recently used first
  std::unordered_map<std::string, Order::iterator> byPath_;
  std::size_t bytes_ = 0;
  std::uint32_t tagCodePage_ = 0;
};

}  // namespace plenvox
