#include "platform/posix/PosixPlatform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <iconv.h>
#include <limits.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/IniText.h"
#include "common/Text.h"
#include "common/Utf8.h"

extern char** environ;

namespace plenvox {

namespace {

// Codes without a Win32 counterpart carry errno under this mark (the customer bit).
constexpr std::uint32_t kErrnoMark = 0x20000000u;

// errno values mapped onto the Win32 codes that the core and the tests know.
std::uint32_t Win32Error(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return kErrorAccessDenied;
    case EEXIST: return kErrorFileExists;
    case EINVAL: return kErrorNegativeSeek;
    default: return kErrnoMark | static_cast<std::uint32_t>(err);
  }
}

// A Windows file time (100-nanosecond steps since 1601-01-01) as a POSIX time.
constexpr std::uint64_t kEpochDifferenceSeconds = 11644473600ull;

struct timespec FromFileTime(const TFileTime& time) {
  const std::uint64_t ticks = (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
  struct timespec ts {};
  const std::uint64_t seconds = ticks / 10000000ull;
  ts.tv_sec = static_cast<time_t>(seconds >= kEpochDifferenceSeconds ? seconds - kEpochDifferenceSeconds : 0);
  ts.tv_nsec = static_cast<long>((ticks % 10000000ull) * 100u);
  return ts;
}

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    while (got < size) {
      const ssize_t n = ::read(fd_, static_cast<char*>(buffer) + got, size - got);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail();
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool Write(const void* data, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::write(fd_, static_cast<const char*>(data) + done, size - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail();
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool Seek(std::int64_t offset) override {
    if (offset < 0) {
      error_ = kErrorNegativeSeek;
      return false;
    }
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0 || Fail();
  }
  bool Size(std::int64_t& size) override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return Fail();
    size = static_cast<std::int64_t>(st.st_size);
    return true;
  }
  bool Close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || Fail();
  }
  std::uint32_t Error() const override { return error_; }
  int Descriptor() const { return fd_; }
  bool Flush() override { return ::fsync(fd_) == 0 || Fail(); }
  bool SetLastWriteTime(const TFileTime& time) override {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;  // the access time stays
    times[1] = FromFileTime(time);
    return ::futimens(fd_, times) == 0 || Fail();
  }

 private:
  bool Fail() {
    error_ = Win32Error(errno);
    return false;
  }
  int fd_;
  std::uint32_t error_ = 0;
};

std::unique_ptr<File> OpenFile(const std::string& path, int flags, std::uint32_t& error) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = Win32Error(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = kErrorAccessDenied;
    return nullptr;
  }
  error = 0;
  return std::make_unique<PosixFile>(fd);
}

TFileTime ToFileTime(const struct timespec& ts) {
  // 100-nanosecond steps since 1601-01-01, as Windows counts them.
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(ts.tv_sec) + kEpochDifferenceSeconds) * 10000000ull +
      static_cast<std::uint64_t>(ts.tv_nsec) / 100u;
  return TFileTime{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

}  // namespace

std::string PosixPlatform::ModuleFileName(TTextEncoding) {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&Win32Error), &info) != 0 && info.dli_fname) {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved)) return resolved;
    return info.dli_fname;
  }
  return {};
}

std::optional<std::string> PosixPlatform::GetEnv(const std::string& name) {
  // Windows matches variable names without regard to case.
  const std::string want = LowerAscii(name);
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* eq = std::strchr(*entry, '=');
    if (!eq) continue;
    if (LowerAscii(std::string(*entry, static_cast<std::size_t>(eq - *entry))) == want) {
      return std::string(eq + 1);
    }
  }
  // Windows always sets its temporary folder; Linux names it only now and then.
  if (want == "temp") {
    const char* tmpdir = std::getenv("TMPDIR");
    return std::string(tmpdir && *tmpdir ? tmpdir : "/tmp");
  }
  return std::nullopt;
}

void PosixPlatform::SetLastError(std::uint32_t code) { lastError_ = code; }
std::uint32_t PosixPlatform::GetLastError() { return lastError_; }

std::optional<RegistryValue> PosixPlatform::ReadUserRegistryValue(const std::string&,
                                                                  const std::string&) {
  std::string path;
  const char* named = std::getenv("PLENVOX_INI_FILE");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (named) {
    path = named;
  } else if (config && *config == '/') {
    path = std::string(config) + "/plenvox/plenvox.ini";
  } else if (home && *home) {
    path = std::string(home) + "/.config/plenvox/plenvox.ini";
  } else {
    return std::nullopt;
  }
  return RegistryValue{1, path + '\0'};
}

std::string PosixPlatform::ReadIniString(const std::string& section, const std::string& key,
                                         const std::string& fallback,
                                         const std::string& iniPath) {
  std::ifstream in(iniPath, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  return LookUpIniValue(text.str(), section, key, fallback);
}

std::optional<std::string> PosixPlatform::ReadMachineString(const std::string&,
                                                            const std::string&) {
  return std::nullopt;  // no machine-wide registry on Linux
}

bool PosixPlatform::WriteUserRegistryString(const std::string&, const std::string&,
                                            const std::string&, std::uint32_t& error) {
  error = kErrorCallNotImplemented;
  return false;
}

bool PosixPlatform::CreateFolders(const std::string& folder, std::uint32_t& error) {
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  error = failure ? Win32Error(failure.value()) : 0;
  return std::filesystem::is_directory(folder, failure);
}

std::string PosixPlatform::DescribeError(std::uint32_t code) {
  if ((code & kErrnoMark) != 0) return std::strerror(static_cast<int>(code & ~kErrnoMark));
  return "system error " + std::to_string(code);
}

std::u16string PosixPlatform::AnsiToWide(const std::string& text) { return Utf8ToUtf16(text); }

// A lone surrogate is no character of its own: it becomes the default character.
std::string PosixPlatform::WideUnitToAnsi(char16_t unit) {
  return Utf16ToUtf8(std::u16string_view(&unit, 1), U'?');
}

// UTF-8 holds every character; only a lone surrogate is lost.
std::string PosixPlatform::WideToAnsi(const std::u16string& text, bool& lost) {
  std::string out = Utf16ToUtf8(text, U'?');
  lost = Utf8ToUtf16(out) != text;
  return out;
}

// The ANSI code page here is UTF-8, which old 8-bit tags are not: without a code page of
// their own, text that is no valid UTF-8 is read as ISO-8859-1 (the tag formats' own).
// Other code pages go through iconv ("CP1251"); one that it lacks reads as ISO-8859-1.
std::u16string PosixPlatform::CodePageToWide(std::uint32_t codePage, std::string_view text) {
  const auto latin1 = [&] {
    std::u16string wide;
    for (const char c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
  };
  if (codePage == 0 || codePage == 65001) {
    const std::u16string wide = Utf8ToUtf16(text);
    return wide.find(u'\uFFFD') == std::u16string::npos || codePage == 65001 ? wide : latin1();
  }
  if (codePage == 28591) return latin1();
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t convert = ::iconv_open("UTF-16LE", name.c_str());
  if (convert == reinterpret_cast<iconv_t>(-1)) return latin1();
  std::string in(text);
  std::string out(in.size() * 4 + 4, '\0');
  char* inBytes = in.data();
  char* outBytes = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  while (inLeft > 0) {
    if (::iconv(convert, &inBytes, &inLeft, &outBytes, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    // A byte the code page does not define: U+FFFD, then on.
    if (outLeft < 2) break;
    *outBytes++ = static_cast<char>(0xFD);
    *outBytes++ = static_cast<char>(0xFF);
    outLeft -= 2;
    ++inBytes;
    --inLeft;
  }
  ::iconv_close(convert);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < out.size() - outLeft; i += 2) {
    wide += static_cast<char16_t>(static_cast<unsigned char>(out[i]) | (static_cast<unsigned char>(out[i + 1]) << 8));
  }
  return wide;
}

// Paths are UTF-8 in either encoding.
std::unique_ptr<File> PosixPlatform::OpenRead(TTextEncoding, const std::string& path,
                                              std::uint32_t& error) {
  return OpenFile(path, O_RDONLY, error);
}

std::unique_ptr<File> PosixPlatform::CreateWrite(TTextEncoding, const std::string& path,
                                                 std::uint32_t& error) {
  return OpenFile(path, O_WRONLY | O_CREAT | O_TRUNC, error);
}

TFileTime PosixPlatform::SystemTime() {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return ToFileTime(now);
}

std::unique_ptr<File> PosixPlatform::CreateNew(const std::string& path, std::uint32_t& error) {
  return OpenFile(path, O_WRONLY | O_CREAT | O_EXCL, error);
}

bool PosixPlatform::FindFile(TTextEncoding, const std::string& path, TFileRecord& record) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
  record.FileAttributes = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
  if ((st.st_mode & S_IWUSR) == 0) record.FileAttributes |= kFileAttributeReadOnly;
  record.CreationTime = ToFileTime(st.st_mtim);
  record.LastAccessTime = ToFileTime(st.st_atim);
  record.LastWriteTime = ToFileTime(st.st_mtim);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  record.FileSizeHigh = static_cast<std::uint32_t>(size >> 32);
  record.FileSizeLow = static_cast<std::uint32_t>(size);
  record.Reserved0 = 0;
  record.Reserved1 = 0;
  const auto slash = path.find_last_of('/');
  record.FileName = slash == std::string::npos ? path : path.substr(slash + 1);
  record.AlternateFileName.clear();
  return true;
}

bool PosixPlatform::FileExists(TTextEncoding, const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixPlatform::CopyFile(TTextEncoding, const std::string& source, const std::string& target,
                             bool replaceExisting) {
  if (!replaceExisting && FileExists(target)) return false;
  std::ifstream in(source, std::ios::binary);
  if (!in) return false;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << in.rdbuf();
  return static_cast<bool>(out);
}

bool PosixPlatform::DeleteFile(TTextEncoding, const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

TCopyEnd PosixPlatform::CopyData(File& from, File& to, std::size_t chunkSize,
                                 const TChunkDone& chunkDone) {
  auto* in = dynamic_cast<PosixFile*>(&from);
  auto* out = dynamic_cast<PosixFile*>(&to);
  std::int64_t copied = 0;
  while (in && out) {
    const ssize_t n = ::copy_file_range(in->Descriptor(), nullptr, out->Descriptor(), nullptr, chunkSize, 0);
    // Nothing at the very start: a file system that copies nothing this way (as some
    // say so, rather than failing); the buffer finds out whether the file is empty.
    if (n == 0 && copied == 0) break;
    if (n == 0) return TCopyEnd::Done;
    if (n < 0) {
      if (errno == EINTR) continue;
      // A pair of files that the kernel does not copy between: the buffer from here on.
      if (copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) break;
      const bool full = errno == ENOSPC || errno == EDQUOT || errno == EFBIG || errno == EROFS;
      return full ? TCopyEnd::WriteFailed : TCopyEnd::ReadFailed;
    }
    copied += n;
    if (!chunkDone(copied)) return TCopyEnd::Stopped;
  }
  return Platform::CopyData(from, to, chunkSize, chunkDone);
}

bool PosixPlatform::Rename(const std::string& source, const std::string& target, bool replace,
                           std::uint32_t& error) {
  const int renamed = replace ? ::rename(source.c_str(), target.c_str())
                              : ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(),
                                            RENAME_NOREPLACE);
  if (renamed == 0) return true;
  error = Win32Error(errno);
  return false;
}

bool PosixPlatform::MoveReplacing(const std::string& source, const std::string& target,
                                  std::uint32_t& error) {
  // The data first, then the name (see Platform::MoveReplacing).
  const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Win32Error(errno);
    return false;
  }
  const bool synced = ::fsync(fd) == 0;
  error = synced ? 0 : Win32Error(errno);
  ::close(fd);
  if (!synced) return false;
  if (::rename(source.c_str(), target.c_str()) != 0) {
    error = Win32Error(errno);
    return false;
  }
  return true;
}

WindowHandle PosixPlatform::FindWindow(const std::string&) { return 0; }

std::intptr_t PosixPlatform::SendMessage(WindowHandle, std::uint32_t, std::uintptr_t,
                                         std::intptr_t) {
  return 0;
}

std::optional<std::string> PosixPlatform::ReadProcessText(WindowHandle, std::uintptr_t,
                                                          std::size_t, std::size_t) {
  return std::nullopt;  // no windows, so no process behind one
}

bool PosixPlatform::PostMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
  return false;
}

void PosixPlatform::MessageBox(WindowHandle, const std::string& text, const std::string& caption,
                               std::uint32_t) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

std::optional<std::string> PosixPlatform::BrowseForFolder(WindowHandle, const std::string&) {
  return std::nullopt;
}

bool PosixPlatform::RunCommandLine(const std::string& commandLine, int) {
  const char* argv[] = {"/bin/sh", "-c", commandLine.c_str(), nullptr};
  pid_t pid = 0;
  return ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0;
}

bool PosixPlatform::StartProgram(const std::string& program, const std::string& commandLine) {
  const char* argv[] = {program.c_str(), commandLine.empty() ? nullptr : commandLine.c_str(),
                        nullptr};
  pid_t pid = 0;
  return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, const_cast<char**>(argv),
                       environ) == 0;
}

}  // namespace plenvox
