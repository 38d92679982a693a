#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "common/Utf8.h"

// windows.h defines these names as macros for its A/W variants.
#undef FindWindow
#undef SendMessage
#undef PostMessage
#undef MessageBox
#undef CopyFile
#undef DeleteFile

namespace plenvox {

namespace {

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    while (got < size) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
      DWORD n = 0;
      if (!::ReadFile(handle_, static_cast<char*>(buffer) + got, want, &n, nullptr)) return Fail();
      if (n == 0) break;
      got += n;
    }
    return true;
  }
  bool Write(const void* data, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
      DWORD n = 0;
      if (!::WriteFile(handle_, static_cast<const char*>(data) + done, want, &n, nullptr)) {
        return Fail();
      }
      if (n == 0) {
        error_ = ERROR_WRITE_FAULT;
        return false;
      }
      done += n;
    }
    return true;
  }
  bool Seek(std::int64_t offset) override {
    if (offset < 0) {
      error_ = ERROR_NEGATIVE_SEEK;
      return false;
    }
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return ::SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || Fail();
  }
  bool Size(std::int64_t& size) override {
    LARGE_INTEGER s;
    if (!::GetFileSizeEx(handle_, &s)) return Fail();
    size = s.QuadPart;
    return true;
  }
  bool Close() override {
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) || Fail();
  }
  std::uint32_t Error() const override { return error_; }
  bool Flush() override { return ::FlushFileBuffers(handle_) || Fail(); }
  bool SetLastWriteTime(const TFileTime& time) override {
    FILETIME written;
    written.dwLowDateTime = time.Low;
    written.dwHighDateTime = time.High;
    return ::SetFileTime(handle_, nullptr, nullptr, &written) || Fail();
  }

 private:
  bool Fail() {
    error_ = ::GetLastError();
    return false;
  }
  HANDLE handle_;
  std::uint32_t error_ = 0;
};

// A UTF-8 text of the seam as the W functions take it, and their texts back.
std::wstring Wide(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8Of(const wchar_t* text, std::size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

// A zero-terminated text in a fixed field, without running past the field's end.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, ::strnlen(field, N));
}
template <std::size_t N>
std::string FieldText(const wchar_t (&field)[N]) {
  return Utf8Of(field, ::wcsnlen(field, N));
}

// A writable, zero-terminated copy of a command line, as CreateProcess wants it.
template <typename Char>
std::vector<Char> CommandLineBuffer(const std::basic_string<Char>& line) {
  std::vector<Char> buffer(line.begin(), line.end());
  buffer.push_back(Char{});
  return buffer;
}

std::unique_ptr<File> OpenHandle(bool utf8, const std::string& path, DWORD access, DWORD share,
                                 DWORD disposition, std::uint32_t& error) {
  HANDLE h = utf8 ? ::CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)
                  : ::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return nullptr;
  }
  error = 0;
  return std::make_unique<Win32File>(h);
}

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

DWORD Attributes(bool utf8, const std::string& path) {
  return utf8 ? ::GetFileAttributesW(Wide(path).c_str()) : ::GetFileAttributesA(path.c_str());
}

template <typename Found>
void CopyFields(const Found& found, TFileRecord& record) {
  const auto time = [](const FILETIME& t) { return TFileTime{t.dwLowDateTime, t.dwHighDateTime}; };
  record.FileAttributes = found.dwFileAttributes;
  record.CreationTime = time(found.ftCreationTime);
  record.LastAccessTime = time(found.ftLastAccessTime);
  record.LastWriteTime = time(found.ftLastWriteTime);
  record.FileSizeHigh = found.nFileSizeHigh;
  record.FileSizeLow = found.nFileSizeLow;
  record.Reserved0 = found.dwReserved0;
  record.Reserved1 = found.dwReserved1;
  record.FileName = FieldText(found.cFileName);
  record.AlternateFileName = FieldText(found.cAlternateFileName);
}

template <typename Found, typename Path, typename FindFirst>
bool FindInto(const Path& path, FindFirst findFirst, TFileRecord& record) {
  Found found;
  HANDLE search = findFirst(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  CopyFields(found, record);
  return true;
}

bool IsZeroUnit(const std::string& bytes, std::size_t at, std::size_t unitSize) {
  for (std::size_t i = 0; i < unitSize; ++i) {
    if (bytes[at + i] != '\0') return false;
  }
  return true;
}

// Reads page by page, so that a text that ends just before unreadable memory is read
// without touching the page after it.
std::optional<std::string> ReadZeroTerminated(HANDLE process, std::uintptr_t address,
                                              std::size_t unitSize, std::size_t maxUnits) {
  constexpr std::uintptr_t kPage = 4096;
  char page[kPage];
  std::string bytes;
  for (std::size_t scanned = 0;;) {
    const std::uintptr_t at = address + bytes.size();
    SIZE_T got = 0;
    if (!::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(at), page, kPage - at % kPage,
                             &got) ||
        got == 0) {
      return std::nullopt;
    }
    bytes.append(page, got);
    for (; scanned + unitSize <= bytes.size(); scanned += unitSize) {
      if (IsZeroUnit(bytes, scanned, unitSize)) return bytes.substr(0, scanned);
      if (scanned / unitSize >= maxUnits) return std::nullopt;
    }
  }
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = Attributes(false, path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Expanded(const std::string& text) {
  const DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::vector<char> buffer(size);
  if (::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size) == 0) return text;
  return std::string(buffer.data());
}

}  // namespace

namespace {

std::string FileNameOfModule(bool utf8, HMODULE module) {
  if (utf8) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(module, buffer, MAX_PATH);
    return Utf8Of(buffer, n < MAX_PATH ? n : MAX_PATH - 1);
  }
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(module, buffer, MAX_PATH);
  return std::string(buffer, n < MAX_PATH ? n : MAX_PATH - 1);
}

}  // namespace

std::string Win32Platform::ModuleFileName(TTextEncoding encoding) {
  return FileNameOfModule(encoding == TTextEncoding::Utf8, static_cast<HMODULE>(module_));
}

std::string Win32Platform::ProgramFileName() { return FileNameOfModule(Utf8(), nullptr); }

namespace {

template <typename Char, typename Get>
std::optional<std::basic_string<Char>> EnvironmentValue(Get get) {
  std::vector<Char> buffer(MAX_PATH);
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD n = get(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::basic_string<Char>();
    }
    if (n < buffer.size()) return std::basic_string<Char>(buffer.data(), n);
    buffer.resize(n);
  }
}

}  // namespace

std::optional<std::string> Win32Platform::GetEnv(const std::string& name) {
  if (Utf8()) {
    const std::wstring wideName = Wide(name);
    const auto value = EnvironmentValue<wchar_t>([&](wchar_t* buffer, DWORD size) {
      return ::GetEnvironmentVariableW(wideName.c_str(), buffer, size);
    });
    if (!value) return std::nullopt;
    return Utf8Of(value->data(), value->size());
  }
  return EnvironmentValue<char>([&](char* buffer, DWORD size) {
    return ::GetEnvironmentVariableA(name.c_str(), buffer, size);
  });
}

void Win32Platform::SetLastError(std::uint32_t code) { ::SetLastError(code); }
std::uint32_t Win32Platform::GetLastError() { return ::GetLastError(); }

namespace {

// The W form of ReadUserRegistryValue: a string value's UTF-16 units as UTF-8, its
// stored terminating zero (if any) a zero byte at the end, as the A form gives it.
std::optional<RegistryValue> ReadUserValueW(const std::string& subKey,
                                            const std::string& valueName) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring name = Wide(valueName);
  std::optional<RegistryValue> result;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<BYTE> data(size + 2, 0);
    DWORD got = size;
    if (size == 0 ||
        ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got) == ERROR_SUCCESS) {
      got = got < size ? got : size;
      RegistryValue value;
      value.Type = type;
      if (type == REG_SZ || type == REG_EXPAND_SZ) {
        value.Data = Utf16ToUtf8(
            std::u16string_view(reinterpret_cast<const char16_t*>(data.data()), got / 2));
      } else {
        value.Data.assign(data.begin(), data.begin() + got);
      }
      result = std::move(value);
    }
  }
  ::RegCloseKey(key);
  return result;
}

}  // namespace

std::optional<RegistryValue> Win32Platform::ReadUserRegistryValue(const std::string& subKey,
                                                                  const std::string& valueName) {
  if (Utf8()) return ReadUserValueW(subKey, valueName);
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<RegistryValue> result;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
      ERROR_SUCCESS) {
    RegistryValue value;
    value.Type = type;
    value.Data.assign(size, '\0');
    DWORD got = size;
    if (size == 0 ||
        ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&value.Data[0]), &got) == ERROR_SUCCESS) {
      value.Data.resize(got < size ? got : size);
      result = std::move(value);
    }
  }
  ::RegCloseKey(key);
  return result;
}

std::string Win32Platform::ReadIniString(const std::string& section, const std::string& key,
                                         const std::string& fallback,
                                         const std::string& iniPath) {
  if (Utf8()) {
    wchar_t buffer[2048] = {};
    const DWORD n = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                               Wide(fallback).c_str(), buffer, 2048,
                                               Wide(iniPath).c_str());
    return Utf8Of(buffer, n);
  }
  char buffer[2048] = {};
  const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                             buffer, sizeof buffer, iniPath.c_str());
  return std::string(buffer, n);
}

std::optional<std::string> Win32Platform::ReadMachineString(const std::string& subKey,
                                                           const std::string& valueName) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<std::string> result;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // One more zero than asked for: a stored string need not end with one.
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
      const std::string text(data.data());
      result = type == REG_EXPAND_SZ ? Expanded(text) : text;
    }
  }
  ::RegCloseKey(key);
  return result;
}

bool Win32Platform::WriteUserRegistryString(const std::string& subKey,
                                            const std::string& valueName,
                                            const std::string& text, std::uint32_t& error) {
  HKEY key = nullptr;
  LONG status = ::RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = ::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
  }
  error = static_cast<std::uint32_t>(status);
  return status == ERROR_SUCCESS;
}

bool Win32Platform::CreateFolders(const std::string& folder, std::uint32_t& error) {
  // Each folder from the top down; the parts that are no folder of their own (a drive,
  // a server and share) fail to be created and are passed over.
  error = ERROR_PATH_NOT_FOUND;
  for (std::size_t at = folder.find_first_of("\\/");; at = folder.find_first_of("\\/", at + 1)) {
    const std::string part = folder.substr(0, at);
    if (!part.empty() && !IsFolder(part) && !::CreateDirectoryA(part.c_str(), nullptr)) {
      error = ::GetLastError();
    }
    if (at == std::string::npos) break;
  }
  return IsFolder(folder);
}

std::string Win32Platform::DescribeError(std::uint32_t code) {
  char buffer[512] = {};
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.' ||
                           text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error" : text;
}

// Windows 10 and later let the ANSI code page be UTF-8.
bool Win32Platform::AnsiHoldsEveryCharacter() const { return ::GetACP() == CP_UTF8; }

std::u16string Win32Platform::AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(&out[0]), n);
  return out;
}

namespace {

// WideCharToMultiByte without best-fit characters, asking whether the default character
// was used. Code pages that have no best fit to leave out (UTF-8 among them) refuse the
// flag, and UTF-8 the question too: those convert without them, and a conversion back
// tells whether anything (a lone surrogate) was lost.
std::string NoBestFit(UINT codePage, const wchar_t* text, int length, bool& lost) {
  lost = false;
  if (length == 0) return {};
  struct Attempt {
    DWORD flags;
    bool asksDefault;
  };
  constexpr Attempt kAttempts[] = {{WC_NO_BEST_FIT_CHARS, true}, {0, true}, {0, false}};
  for (const Attempt& attempt : kAttempts) {
    BOOL usedDefault = FALSE;
    BOOL* used = attempt.asksDefault ? &usedDefault : nullptr;
    const int n =
        ::WideCharToMultiByte(codePage, attempt.flags, text, length, nullptr, 0, nullptr, used);
    if (n <= 0) continue;
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, attempt.flags, text, length, &out[0], n, nullptr, used);
    if (attempt.asksDefault) {
      lost = usedDefault != FALSE;
    } else {
      const int back = ::MultiByteToWideChar(codePage, 0, out.data(), n, nullptr, 0);
      std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
      if (back > 0) ::MultiByteToWideChar(codePage, 0, out.data(), n, &again[0], back);
      lost = again != std::wstring(text, static_cast<std::size_t>(length));
    }
    return out;
  }
  lost = true;
  return {};
}

}  // namespace

std::string Win32Platform::WideUnitToAnsi(char16_t unit) {
  const wchar_t w = static_cast<wchar_t>(unit);
  bool lost = false;
  return NoBestFit(CP_THREAD_ACP, &w, 1, lost);
}

std::string Win32Platform::WideToAnsi(const std::u16string& text, bool& lost) {
  return NoBestFit(CP_ACP, reinterpret_cast<const wchar_t*>(text.data()),
                   static_cast<int>(text.size()), lost);
}

std::u16string Win32Platform::CodePageToWide(std::uint32_t codePage, std::string_view text) {
  if (text.empty()) return {};
  const UINT page = codePage == 0 ? CP_ACP : codePage;
  const int size = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return AnsiToWide(std::string(text));
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  ::MultiByteToWideChar(page, 0, text.data(), size, reinterpret_cast<wchar_t*>(&out[0]), n);
  return out;
}

std::unique_ptr<File> Win32Platform::OpenRead(TTextEncoding encoding, const std::string& path,
                                              std::uint32_t& error) {
  return OpenHandle(encoding == TTextEncoding::Utf8, path, GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, error);
}

std::unique_ptr<File> Win32Platform::CreateWrite(TTextEncoding encoding, const std::string& path,
                                                 std::uint32_t& error) {
  return OpenHandle(encoding == TTextEncoding::Utf8, path, GENERIC_WRITE, FILE_SHARE_READ,
                    CREATE_ALWAYS, error);
}

std::unique_ptr<File> Win32Platform::CreateNew(const std::string& path, std::uint32_t& error) {
  return OpenHandle(Utf8(), path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, error);
}

bool Win32Platform::FindFile(TTextEncoding encoding, const std::string& path,
                             TFileRecord& record) {
  if (encoding == TTextEncoding::Utf8) {
    return FindInto<WIN32_FIND_DATAW>(Wide(path), &::FindFirstFileW, record);
  }
  return FindInto<WIN32_FIND_DATAA>(path, &::FindFirstFileA, record);
}

bool Win32Platform::FileExists(TTextEncoding encoding, const std::string& path) {
  const DWORD attributes = Attributes(encoding == TTextEncoding::Utf8, path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TFileTime Win32Platform::SystemTime() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return TFileTime{now.dwLowDateTime, now.dwHighDateTime};
}

bool Win32Platform::CopyFile(TTextEncoding encoding, const std::string& source,
                             const std::string& target, bool replaceExisting) {
  const BOOL failIfExists = replaceExisting ? FALSE : TRUE;
  if (encoding == TTextEncoding::Utf8) {
    return ::CopyFileW(Wide(source).c_str(), Wide(target).c_str(), failIfExists) != 0;
  }
  return ::CopyFileA(source.c_str(), target.c_str(), failIfExists) != 0;
}

bool Win32Platform::DeleteFile(TTextEncoding encoding, const std::string& path) {
  if (encoding == TTextEncoding::Utf8) return ::DeleteFileW(Wide(path).c_str()) != 0;
  return ::DeleteFileA(path.c_str()) != 0;
}

bool Win32Platform::Rename(const std::string& source, const std::string& target, bool replace,
                           std::uint32_t& error) {
  const DWORD flags = replace ? MOVEFILE_REPLACE_EXISTING : 0;
  const BOOL moved = Utf8() ? ::MoveFileExW(Wide(source).c_str(), Wide(target).c_str(), flags)
                            : ::MoveFileExA(source.c_str(), target.c_str(), flags);
  if (moved) return true;
  error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) error = kErrorFileExists;
  return false;
}

bool Win32Platform::MoveReplacing(const std::string& source, const std::string& target,
                                  std::uint32_t& error) {
  // The data first, then the name: a rename that reaches the disk before the data
  // could leave an empty file behind a crash.
  HANDLE h = ::CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return false;
  }
  const BOOL flushed = ::FlushFileBuffers(h);
  error = flushed ? 0 : ::GetLastError();
  ::CloseHandle(h);
  if (!flushed) return false;
  if (!::MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
    return false;
  }
  return true;
}

WindowHandle Win32Platform::FindWindow(const std::string& className) {
  return reinterpret_cast<WindowHandle>(::FindWindowA(className.c_str(), nullptr));
}

std::optional<std::string> Win32Platform::ReadProcessText(WindowHandle window,
                                                          std::uintptr_t address,
                                                          std::size_t unitSize,
                                                          std::size_t maxUnits) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(Hwnd(window), &processId);
  if (processId == 0 || (unitSize != 1 && unitSize != 2)) return std::nullopt;
  HANDLE process = ::OpenProcess(PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  auto text = ReadZeroTerminated(process, address, unitSize, maxUnits);
  ::CloseHandle(process);
  return text;
}

std::intptr_t Win32Platform::SendMessage(WindowHandle window, std::uint32_t message,
                                         std::uintptr_t wParam, std::intptr_t lParam) {
  return ::SendMessageA(Hwnd(window), message, wParam, lParam);
}

bool Win32Platform::PostMessage(WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam) {
  return ::PostMessageA(Hwnd(window), message, wParam, lParam) != 0;
}

void Win32Platform::MessageBox(WindowHandle owner, const std::string& text,
                               const std::string& caption, std::uint32_t style) {
  if (Utf8()) {
    ::MessageBoxW(Hwnd(owner), Wide(text).c_str(), Wide(caption).c_str(), style);
    return;
  }
  ::MessageBoxA(Hwnd(owner), text.c_str(), caption.c_str(), style);
}

namespace {

// The shell's folder picker in its A or W form: the chosen folder's path in the same
// form, or nothing. The item that the picker returns is released after its path is read.
template <typename Info, typename Char, typename Browse, typename PathOf>
std::optional<std::basic_string<Char>> PickFolder(HWND owner, const Char* title, Browse browse,
                                                  PathOf pathOf) {
  Info info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = browse(&info);
  if (!item) return std::nullopt;
  Char path[MAX_PATH] = {};
  const BOOL ok = pathOf(item, path);
  ::CoTaskMemFree(item);
  // A chosen item without a file-system path counts as no folder.
  if (!ok) return std::nullopt;
  return std::basic_string<Char>(path);
}

}  // namespace

std::optional<std::string> Win32Platform::BrowseForFolder(WindowHandle owner,
                                                          const std::string& title) {
  if (Utf8()) {
    const auto folder = PickFolder<BROWSEINFOW, wchar_t>(Hwnd(owner), Wide(title).c_str(),
                                                         &::SHBrowseForFolderW,
                                                         &::SHGetPathFromIDListW);
    if (!folder) return std::nullopt;
    return Utf8Of(folder->data(), folder->size());
  }
  return PickFolder<BROWSEINFOA, char>(Hwnd(owner), title.c_str(), &::SHBrowseForFolderA,
                                       &::SHGetPathFromIDListA);
}

bool Win32Platform::RunCommandLine(const std::string& commandLine, int showCode) {
  if (!Utf8()) return ::WinExec(commandLine.c_str(), static_cast<UINT>(showCode)) > 31;
  // WinExec has no W form: the same start, and the same wait until the program first
  // waits for input (at most the 30 seconds that WinExec allows).
  constexpr DWORD kInputIdleLimit = 30000;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCode);
  PROCESS_INFORMATION process{};
  std::vector<wchar_t> line = CommandLineBuffer(Wide(commandLine));
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  ::WaitForInputIdle(process.hProcess, kInputIdleLimit);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

bool Win32Platform::StartProgram(const std::string& program, const std::string& commandLine) {
  PROCESS_INFORMATION process{};
  BOOL ok = FALSE;
  if (Utf8()) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::vector<wchar_t> line = CommandLineBuffer(Wide(commandLine));
    ok = ::CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process);
  } else {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line = CommandLineBuffer(commandLine);
    ok = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process);
  }
  if (!ok) return false;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace plenvox
