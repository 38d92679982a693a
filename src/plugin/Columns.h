// The content columns of the folder (ContentFields.h): the host's FsContent... entry
// points in portable form. Each one catches everything; none raises.
//
// Threads. The host asks for values on its own thread and, for values it was told are
// slow, again on a background thread, while its own thread may list or edit. The values
// therefore come only from what is safe to share: the published snapshot of the last
// listing (ColumnSnapshot.h; its entries read from the playlist file by the first value
// asked after the listing), the analysis cache (thread-safe), and the platform's file
// look-up and open with paths in the snapshot's encoding (Platform::FindFile, OpenRead) and its
// stateless text conversions, never the playlist handle or the settings' encoding.
//
// Speed. The host asks for every column of one file in a row: the values of the file
// last asked for are kept together (TEntryValues) so that its other columns cost a
// comparison of its name, and one analysis from the cache serves them all.
//
// With CONTENT_DELAYIFSLOW, fields of the entry itself (position, the "#EXTINF:" line)
// answer at once, and so do the others when the last listing looked the file up (and
// the playlist file is still the one it listed) and, for tags and audio, its analysis is
// in the cache; otherwise they answer ft_delayed and the host asks again from its
// background thread, where the file is looked up and analysed. FsContentStopGetValue
// ends a value being got for that name (answered ft_fieldempty, nothing kept),
// FsContentPluginUnloading every value from then on.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Platform.h"
#include "plugin/AnalysisCache.h"
#include "plugin/ColumnSnapshot.h"

namespace plenvox {

// The neutral value of one field, before the host's buffer: its type (or a negative
// result), and the number, text or time that the type reads.
struct TFieldValue {
  TFieldValue() = default;
  explicit TFieldValue(int type) : Type(type) {}

  int Type = 0;
  std::int64_t Number = 0;
  double Floating = 0;
  std::string Text;  // for strings in TextEncoding; a floating value's display text, choices: ASCII
  TTextEncoding TextEncoding = TTextEncoding::Ansi;
  TFileTime Time{};
};

class Columns {
 public:
  Columns(Platform& os, AnalysisCache& analyses) : os_(os), analyses_(analyses), snapshots_(os) {}

  // What the listing fills.
  ColumnSnapshots& Snapshots() { return snapshots_; }

  static int GetSupportedField(int fieldIndex, char* fieldName, char* units, int maxlen) noexcept;
  static int GetSupportedFieldFlags(int fieldIndex) noexcept;
  static int GetDefaultSortOrder(int fieldIndex) noexcept;
  static bool GetDefaultView(char* contents, char* headers, char* widths, char* options,
                             int maxlen) noexcept;
  static bool GetDefaultViewW(char16_t* contents, char16_t* headers, char16_t* widths,
                              char16_t* options, int maxlen) noexcept;

  // fileName is the item's remote name ("\" and the entry); maxlen counts bytes.
  int GetValue(const std::string& fileName, int fieldIndex, int unitIndex, void* fieldValue,
               int maxlen, int flags) noexcept;
  int GetValueW(const std::u16string& fileName, int fieldIndex, int unitIndex, void* fieldValue,
                int maxlen, int flags) noexcept;
  void StopGetValue(const std::string& fileName) noexcept;
  void StopGetValueW(const std::u16string& fileName) noexcept;
  void PluginUnloading() noexcept;

  // The neutral value, for the tools and the tests: the remote name in the host's form
  // (wide: UTF-16 in the bytes of the string).
  TFieldValue Value(std::string_view hostName, bool wide, int fieldIndex, int unitIndex, int flags);

 private:
  struct TEntryValues;
  using Values = std::shared_ptr<const TEntryValues>;

  template <typename Text>
  int GetValueOf(const Text& fileName, int fieldIndex, int unitIndex, void* fieldValue, int maxlen,
                 int flags) noexcept;
  // The values of the entry named so, as far as need, or nothing when it must wait.
  Values ValuesFor(std::string_view hostName, bool wide, int need, bool delayAllowed);
  Values Resolve(std::string_view hostName, bool wide) const;
  Values FromListing(const TEntryValues& values, int need) const;
  Values Fresh(const TEntryValues& values, int need);
  void Remember(const Values& values);
  std::u16string StopName(std::string_view hostName, bool wide) const;
  bool Stopped(const std::u16string& name) const;
  void Stop(const std::u16string& name);

  Platform& os_;
  AnalysisCache& analyses_;
  ColumnSnapshots snapshots_;
  std::atomic<bool> unloading_{false};
  mutable std::mutex mutex_;  // guards last_, pending_ and stopped_
  Values last_;
  std::unordered_map<std::u16string, int> pending_;  // names being got on a thread, and how often
  std::unordered_map<std::u16string, bool> stopped_;  // of those, the ones asked to stop
};

}  // namespace plenvox
