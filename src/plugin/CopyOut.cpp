#include "plugin/CopyOut.h"

#include <algorithm>
#include <memory>

#include "common/Text.h"
#include "common/TextEncoding.h"
#include "plugin/EntryName.h"
#include "plugin/HostInterface.h"
#include "playlist/IoError.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

namespace {

// An entry that names an address rather than a file ("http://host/stream").
bool IsStreamAddress(const std::string& path) { return path.find("://") != std::string::npos; }

// Where the name of a path starts, after its last separator (on Windows "\" or "/").
std::string::size_type NameStart(const std::string& path, char separator) {
  const auto last = separator == '\\' ? path.find_last_of("\\/") : path.rfind(separator);
  return last == std::string::npos ? 0 : last + 1;
}

// The temporary files are named in the target's folder by this pattern and a number, so
// that a target whose own name is as long as a name may be gets one too.
constexpr const char* kTempPrefix = "~plenvox-copy-";
constexpr const char* kTempSuffix = ".tmp";
constexpr int kTempNames = 100;

// The temporary copy: deleted again unless it has taken the target's name.
class TempCopy {
 public:
  TempCopy(Platform& os, const std::string& folder) : os_(os) {
    std::uint32_t error = 0;
    for (int n = 0; n < kTempNames && !file_; ++n) {
      path_ = folder + kTempPrefix + std::to_string(n) + kTempSuffix;
      file_ = os_.CreateNew(path_, error);
      if (!file_ && error != kErrorFileExists) break;
    }
    created_ = file_ != nullptr;
  }
  ~TempCopy() {
    if (!created_ || committed_) return;
    file_.reset();
    os_.DeleteFile(path_);
  }
  TempCopy(const TempCopy&) = delete;
  TempCopy& operator=(const TempCopy&) = delete;

  File* Opened() { return file_.get(); }
  // Closes the file and gives it the target's name; false when either fails.
  bool Commit(const std::string& target, bool replace) {
    const bool closed = file_->Close();
    file_.reset();
    if (!closed) return false;
    std::uint32_t error = 0;
    committed_ = os_.Rename(path_, target, replace, error);
    return committed_;
  }

 private:
  Platform& os_;
  std::string path_;
  std::unique_ptr<File> file_;
  bool created_ = false;
  bool committed_ = false;
};

// Calls the progress callback when the percent has moved, or when enough chunks have
// passed without a call; true when the user wants to stop.
class ProgressGauge {
 public:
  ProgressGauge(const TProgress& progress, const std::string& target, std::int64_t size)
      : progress_(progress), target_(target), size_(size) {}
  bool Stopped(std::int64_t done, bool last) {
    // The whole file read: the last call, with 100, follows.
    if (!last && done > 0 && done >= size_) return false;
    int percent = last ? 100 : 0;
    if (!last && size_ > 0) percent = static_cast<int>(std::min<std::int64_t>(99, done * 100 / size_));
    ++chunks_;
    if (!last && percent == reported_ && chunks_ < CopyOut::kChunksPerCall) return false;
    if (last && reported_ == 100) return false;
    reported_ = percent;
    chunks_ = 0;
    return progress_ && progress_(target_, percent);
  }

 private:
  const TProgress& progress_;
  const std::string& target_;
  std::int64_t size_;
  int reported_ = -1;
  int chunks_ = 0;
};

}  // namespace

int CopyOut::GetFile(const std::string& remoteName, std::string& target, int flags,
                     const TProgress& progress) {
  if (flags & wfx::kCopyResume) return wfx::kFileNotSupported;  // nothing to resume from
  const TTextEncoding encoding = os_.TextEncoding();
  const std::string name = EntryPathOf(remoteName, encoding);
  if (name.empty()) return wfx::kFileNotFound;
  if (IsStreamAddress(name)) return wfx::kFileNotSupported;

  const bool numbered = state_.Settings.NumberCopies && host_.TakesRenamedTarget();
  const TSource source = FindSource(name, numbered);
  TFileRecord found;
  if (!os_.FindFile(source.Path, found) || (found.FileAttributes & kFileAttributeDirectory)) {
    return wfx::kFileNotFound;
  }

  std::string chosen = host_.TakesRenamedTarget() ? PlainTarget(name, source.Path, target) : target;
  if (numbered) chosen = NumberedTarget(source, chosen);
  TFileRecord existing;
  const bool exists = os_.FindFile(chosen, existing);
  if (exists && !(flags & wfx::kCopyOverwrite)) {
    target = chosen;
    return wfx::kFileExists;
  }
  // Overwriting the file with itself: it already is what the copy would be.
  if (SameFile(source.Path, chosen)) {
    target = chosen;
    return wfx::kFileOk;
  }
  const int result = Copy(source.Path, found.LastWriteTime, chosen, exists, progress);
  target = chosen;
  return result;
}

CopyOut::TSource CopyOut::FindSource(const std::string& name, bool wantNumber) {
  TSource source;
  source.Path = name;
  // A name as long as the host's record holds may be an entry's path cut short.
  const bool maybeCut = CutName(os_.TextEncoding(), name + "x") == name;
  if (!wantNumber && !maybeCut) return source;
  try {
    playlist_.Rebind();
    const TEntryMatch match = MatchEntry(playlist_.File(), name);
    playlist_.CloseQuietly();
    if (match.Number >= 0) {
      source.Path = match.Path;
      source.Number = match.Number;
      source.Count = match.Count;
    }
  } catch (const IoError&) {
    // A playlist that cannot be read: the name, as listed, is the file's path.
    playlist_.CloseQuietly();
  }
  return source;
}

std::string CopyOut::PlainTarget(const std::string& name, const std::string& path,
                                 const std::string& target) const {
  // The item's name is the entry's whole path; a host that puts it behind the target
  // folder as it is gets the file's own name there instead.
  if (target.size() <= name.size() || target.compare(target.size() - name.size(), name.size(), name) != 0) {
    return target;
  }
  const std::string folder = target.substr(0, target.size() - name.size());
  if (NameStart(folder, os_.PathSeparator()) != folder.size()) return target;
  return folder + path.substr(NameStart(path, os_.PathSeparator()));
}

std::string CopyOut::NumberedTarget(const TSource& source, const std::string& target) const {
  if (source.Number < 0) return target;
  const std::string digits = std::to_string(source.Number + 1);
  const std::size_t width = std::to_string(source.Count).size();
  const std::string prefix = std::string(width - std::min(width, digits.size()), '0') + digits + " - ";
  const auto start = NameStart(target, os_.PathSeparator());
  const std::string numbered = target.substr(0, start) + prefix + target.substr(start);
  // Only a name that the host's buffer takes back whole.
  return CutName(os_.TextEncoding(), numbered) == numbered ? numbered : target;
}

bool CopyOut::SameFile(const std::string& a, const std::string& b) const {
  // Windows' names match without regard to the case of A to Z.
  return os_.PathSeparator() == '\\' ? LowerAscii(a) == LowerAscii(b) : a == b;
}

int CopyOut::Copy(const std::string& source, const TFileTime& written, const std::string& target,
                  bool replace, const TProgress& progress) {
  std::uint32_t error = 0;
  const std::unique_ptr<File> in = os_.OpenRead(source, error);
  if (!in) return error == kErrorFileNotFound ? wfx::kFileNotFound : wfx::kFileReadError;
  std::int64_t size = 0;
  if (!in->Size(size)) return wfx::kFileReadError;

  TempCopy copy(os_, target.substr(0, NameStart(target, os_.PathSeparator())));
  File* out = copy.Opened();
  if (!out) return wfx::kFileWriteError;

  ProgressGauge gauge(progress, target, size);
  if (gauge.Stopped(0, false)) return wfx::kFileUserAbort;
  switch (os_.CopyData(*in, *out, kChunkSize, [&](std::int64_t done) { return !gauge.Stopped(done, false); })) {
    case TCopyEnd::Done: break;
    case TCopyEnd::Stopped: return wfx::kFileUserAbort;
    case TCopyEnd::ReadFailed: return wfx::kFileReadError;
    case TCopyEnd::WriteFailed: return wfx::kFileWriteError;
  }
  in->Close();  // only read: its close changes nothing of the user's
  if (gauge.Stopped(size, true)) return wfx::kFileUserAbort;

  // The copy carries its source's last-write time, as a copy of the system does; a file
  // system that keeps no such time still gets the copy.
  out->SetLastWriteTime(written);
  // An old target is given up only for a copy that has reached the disk.
  if (replace && !out->Flush()) return wfx::kFileWriteError;
  if (!copy.Commit(target, replace)) return wfx::kFileWriteError;
  return wfx::kFileOk;
}

}  // namespace plenvox
