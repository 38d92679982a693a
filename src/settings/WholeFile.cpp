#include "settings/WholeFile.h"

namespace plenvox {

namespace {

constexpr std::uint32_t kErrorPathNotFound = 3;

// A file marked read-only is one its owner does not want changed. Windows refuses to
// replace it; POSIX renames over it all the same, so the test is made here for both.
bool IsReadOnly(Platform& os, const std::string& path) {
  TFileRecord record;
  return os.FindFile(path, record) && (record.FileAttributes & kFileAttributeReadOnly) != 0;
}

bool WriteAndClose(File& file, std::string_view bytes, std::uint32_t& error) {
  if (file.Write(bytes.data(), bytes.size()) && file.Close()) return true;
  error = file.Error();
  return false;
}

}  // namespace

ReadOutcome ReadWholeFile(Platform& os, const std::string& path, std::string& bytes,
                          std::uint32_t& error) {
  bytes.clear();
  auto file = os.OpenRead(path, error);
  if (!file) {
    return error == kErrorFileNotFound || error == kErrorPathNotFound ? ReadOutcome::Missing
                                                                     : ReadOutcome::Failed;
  }
  std::int64_t size = 0;
  if (!file->Size(size)) {
    error = file->Error();
    return ReadOutcome::Failed;
  }
  if (size > kWholeFileMax) {
    error = kErrorReadFault;
    return ReadOutcome::Failed;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  if (!file->Read(bytes.data(), bytes.size(), got)) {
    error = file->Error();
    bytes.clear();
    return ReadOutcome::Failed;
  }
  // A file that shrank while it was read gives what it still held.
  bytes.resize(got);
  return ReadOutcome::Read;
}

std::string TemporaryBeside(const std::string& path) { return path + ".tmp"; }

bool WriteFileAtomically(Platform& os, const std::string& path, std::string_view bytes,
                         std::uint32_t& error) {
  if (IsReadOnly(os, path)) {
    error = kErrorAccessDenied;
    return false;
  }
  const std::string temporary = TemporaryBeside(path);
  auto file = os.CreateWrite(temporary, error);
  if (!file) return false;
  const bool written = WriteAndClose(*file, bytes, error);
  file.reset();
  if (written && os.MoveReplacing(temporary, path, error)) return true;
  os.DeleteFile(temporary);
  return false;
}

}  // namespace plenvox
