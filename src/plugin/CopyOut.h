// Copying entries out of the folder: the audio file that an entry names goes to the
// host's target, with the host's progress callback. The user's file is only read; the
// copy is written to a temporary file beside the target and takes the target's name only
// once it is whole, so that an abort, a read error or a full disk leaves no partial file
// and an old target as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "plugin/FrontEndPart.h"

namespace plenvox {

// The host's progress callback for one copy, given the percent of the file's bytes done
// and the target's path (in the core's encoding); true when the user wants to stop.
using TProgress = std::function<bool(const std::string& target, int percent)>;

class CopyOut : FrontEndPart {
 public:
  using FrontEndPart::FrontEndPart;

  // remoteName: "\" and the entry's path, as listed; target: the host's full local path,
  // which comes back renamed when the copy is numbered. flags: the interface's copy
  // flags (overwrite, resume, move; move is the front end's to carry out). Answers one
  // of the interface's FsGetFile results.
  int GetFile(const std::string& remoteName, std::string& target, int flags,
              const TProgress& progress);

  // The bytes read and written at a time, and how many chunks may pass without a call of
  // the progress callback when the percent does not change (a large file on a slow disk).
  static constexpr std::size_t kChunkSize = 1024 * 1024;
  static constexpr int kChunksPerCall = 4;

 private:
  // The entry's file, and its number and the playlist's length when it is looked up.
  struct TSource {
    std::string Path;
    std::int32_t Number = -1;
    std::int32_t Count = 0;
  };
  TSource FindSource(const std::string& name, bool wantNumber);
  std::string PlainTarget(const std::string& name, const std::string& path,
                          const std::string& target) const;
  std::string NumberedTarget(const TSource& source, const std::string& target) const;
  bool SameFile(const std::string& a, const std::string& b) const;
  int Copy(const std::string& source, const TFileTime& written, const std::string& target,
           bool replace, const TProgress& progress);
};

}  // namespace plenvox
