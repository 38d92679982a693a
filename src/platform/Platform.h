// The one seam between Plenvox and the operating system. Everything the plug-in and the
// settings program need from Windows (files, registry, INI reader, windows and
// messages, process starts, message boxes, the folder picker) goes through this
// interface, so that the same core runs on the real Win32 API, on its POSIX
// counterpart, and on the recording fake that the unit tests drive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Path.h"
#include "common/TextEncoding.h"
#include "common/Utf8.h"
#include "platform/FindData.h"

namespace plenvox {

// An opaque window handle; 0 stands for "no window".
using WindowHandle = std::uintptr_t;

// System error codes that the core names (the Win32 values).
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorNoMoreFiles = 18;
constexpr std::uint32_t kErrorFileExists = 80;
constexpr std::uint32_t kErrorWriteFault = 29;
constexpr std::uint32_t kErrorReadFault = 30;
constexpr std::uint32_t kErrorHandleEof = 38;
constexpr std::uint32_t kErrorCallNotImplemented = 120;
constexpr std::uint32_t kErrorInvalidName = 123;
constexpr std::uint32_t kErrorNegativeSeek = 131;

// Show codes for starting a program.
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
constexpr int kShow = 5;        // SW_SHOW

// Message-box style of every box the plug-in shows: information icon, one OK button.
constexpr std::uint32_t kMessageBoxInformation = 0x40;

// An open file. Every operation reports success; after a failure Error() gives the
// system error code. The destructor closes a file that is still open and ignores
// the outcome, so callers that care about the close call Close() themselves.
class File {
 public:
  virtual ~File() = default;
  // Reads up to size bytes; got receives how many came (0 at the end of the file).
  virtual bool Read(void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual bool Write(const void* data, std::size_t size) = 0;
  // Positions at an absolute offset; a negative offset fails.
  virtual bool Seek(std::int64_t offset) = 0;
  virtual bool Size(std::int64_t& size) = 0;
  virtual bool Close() = 0;
  virtual std::uint32_t Error() const = 0;
  // Sends what was written to the disk before returning. A file held only in memory has
  // nothing to send.
  virtual bool Flush() { return true; }
  // Gives a file open for writing the last-write time, as a copy carries its source's.
  virtual bool SetLastWriteTime(const TFileTime&) { return false; }
};

// How a copy of one file's data into another ended.
enum class TCopyEnd { Done, Stopped, ReadFailed, WriteFailed };
// Told the bytes copied so far after each chunk; false stops the copy.
using TChunkDone = std::function<bool(std::int64_t copied)>;

// The registry value as stored: its type (1 REG_SZ, 2 REG_EXPAND_SZ, ...) and its
// bytes, terminating zero included, exactly as the second query returns them.
struct RegistryValue {
  std::uint32_t Type = 0;
  std::string Data;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- The encoding of texts -------------------------------------------------
  // Texts are in one of two encodings. ANSI means the system's ANSI code page through
  // the A functions, called exactly as the plug-in has always called them; UTF-8 means
  // the W functions, every text converted at this seam. The operations on files, the
  // module's path and the conversions take the encoding of their texts with them (a
  // playlist's entries are in the playlist's encoding, on whatever thread they are
  // read). The others (values of the environment, of the INI reader and of the registry
  // value, command lines, message-box and folder-picker texts: the settings and the
  // host's side) are in the encoding set here, and so are the forms of the file
  // operations without an encoding. ANSI is the default; the front end sets it with each
  // load of the settings (plugin/Plugin.h says when). The settings program keeps ANSI,
  // and its own operations (ReadMachineString, WriteUserRegistryString, CreateFolders,
  // MoveReplacing, DescribeError) take ANSI either way. The POSIX platform is UTF-8
  // throughout and only remembers the setting.
  virtual void SetTextEncoding(TTextEncoding encoding) = 0;
  virtual TTextEncoding TextEncoding() const = 0;
  // Text in an encoding to UTF-16 and back (whatever the encoding of texts): UTF-8
  // exactly, the ANSI code page through the conversions below.
  std::u16string ToWide(TTextEncoding encoding, const std::string& text) {
    return encoding == TTextEncoding::Utf8 ? Utf8ToUtf16(text) : AnsiToWide(text);
  }
  std::string FromWide(TTextEncoding encoding, const std::u16string& text) {
    return encoding == TTextEncoding::Utf8 ? Utf16ToUtf8(text) : WideToAnsi(text);
  }
  // The same, or nothing when the encoding cannot hold every character of the text.
  std::optional<std::string> FromWideExactly(TTextEncoding encoding, const std::u16string& text) {
    if (encoding == TTextEncoding::Utf8) return Utf16ToUtf8(text);
    return ExactAnsi(text);
  }

  // The separator that the system's paths put between folders: "\" on Windows (and in
  // the fake of the tests), "/" on Linux; the plug-in writes it where it joins a folder
  // and a name.
  virtual char PathSeparator() const { return kPathSeparator; }

  // --- Process environment -------------------------------------------------
  // Full path of the plug-in's own module file, in the encoding given or, without one, in
  // the encoding of texts.
  virtual std::string ModuleFileName(TTextEncoding encoding) = 0;
  std::string ModuleFileName() { return ModuleFileName(TextEncoding()); }
  // Full path of the program that loaded the plug-in (the host's), in the encoding of
  // texts, or an empty text where the platform does not tell.
  virtual std::string ProgramFileName() { return std::string(); }
  // The variable's whole value, or nothing when it is not set. Names match
  // without regard to case on Windows.
  virtual std::optional<std::string> GetEnv(const std::string& name) = 0;
  virtual void SetLastError(std::uint32_t code) = 0;
  virtual std::uint32_t GetLastError() = 0;

  // --- Configuration storage -----------------------------------------------
  // A value under HKEY_CURRENT_USER\subKey, or nothing when the key cannot be
  // opened for reading or the value cannot be queried.
  virtual std::optional<RegistryValue> ReadUserRegistryValue(const std::string& subKey,
                                                             const std::string& valueName) = 0;
  // GetPrivateProfileStringA, with the text rules of common/IniText.h: a missing or
  // unreadable file, section or key gives the fallback.
  virtual std::string ReadIniString(const std::string& section, const std::string& key,
                                    const std::string& fallback, const std::string& iniPath) = 0;

  // --- Settings storage: written only by the settings program ------------------
  // A string value under HKEY_LOCAL_MACHINE in the view of 32-bit programs (the player
  // is one), expanded when it is REG_EXPAND_SZ, or nothing when the key or value is
  // missing or not a string.
  virtual std::optional<std::string> ReadMachineString(const std::string& subKey,
                                                       const std::string& valueName) = 0;
  // Stores text as a REG_SZ value (with its terminating zero) under HKEY_CURRENT_USER
  // subKey, creating the key when needed. On failure, error holds the code.
  virtual bool WriteUserRegistryString(const std::string& subKey, const std::string& valueName,
                                       const std::string& text, std::uint32_t& error) = 0;
  // Creates the folder and every missing folder above it; true when it exists afterwards.
  virtual bool CreateFolders(const std::string& folder, std::uint32_t& error) = 0;
  // The system's text for an error code, for messages to the user.
  virtual std::string DescribeError(std::uint32_t code) = 0;

  // --- Text conversion -----------------------------------------------------
  // Conversions between single-byte text in the system's ANSI code page and UTF-16,
  // whatever the encoding of texts.
  virtual std::u16string AnsiToWide(const std::string& text) = 0;
  // Converts one UTF-16 code unit by itself; a character that the code page lacks
  // becomes the code page's default character.
  virtual std::string WideUnitToAnsi(char16_t unit) = 0;
  // Never through best-fit characters (no "Lodz" for "Łódź", which would name
  // another file): a character that the code page lacks becomes its default character
  // ("?"), and lost tells whether any did.
  virtual std::string WideToAnsi(const std::u16string& text, bool& lost) = 0;
  std::string WideToAnsi(const std::u16string& text) {
    bool lost = false;
    return WideToAnsi(text, lost);
  }
  // The ANSI text that names exactly what text names, or nothing.
  std::optional<std::string> ExactAnsi(const std::u16string& text) {
    bool lost = false;
    std::string ansi = WideToAnsi(text, lost);
    if (lost) return std::nullopt;
    return ansi;
  }
  // 8-bit text in a code page (0: the ANSI code page) as UTF-16; bytes the code page
  // does not define become U+FFFD or the system's mapping of them.
  virtual std::u16string CodePageToWide(std::uint32_t codePage, std::string_view text) {
    (void)codePage;
    return AnsiToWide(std::string(text));
  }
  // Whether the ANSI code page has every character (it is UTF-8): then a "?" in an ANSI
  // text is a question mark, never the mark of a character the code page lacks.
  virtual bool AnsiHoldsEveryCharacter() const { return false; }

  // --- Files ---------------------------------------------------------------
  // Opens an existing file for reading; other programs may go on reading and writing it.
  // The path is in the encoding given, whatever the encoding of texts: a playlist and
  // the paths of its entries are in the playlist's encoding, on any thread.
  virtual std::unique_ptr<File> OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                         std::uint32_t& error) = 0;
  // The same with the path in the encoding of texts (the settings program's, the tools').
  std::unique_ptr<File> OpenRead(const std::string& path, std::uint32_t& error) {
    return OpenRead(TextEncoding(), path, error);
  }
  // Creates a file for writing, or empties an existing one (the path as OpenRead's).
  virtual std::unique_ptr<File> CreateWrite(TTextEncoding pathEncoding, const std::string& path,
                                            std::uint32_t& error) = 0;
  std::unique_ptr<File> CreateWrite(const std::string& path, std::uint32_t& error) {
    return CreateWrite(TextEncoding(), path, error);
  }
  // Creates a file for writing that must not exist yet, in the encoding of texts;
  // kErrorFileExists when it does.
  virtual std::unique_ptr<File> CreateNew(const std::string& path, std::uint32_t& error) = 0;
  // FindFirstFile and FindClose: fills the record for the first match and returns true,
  // or returns false and leaves the record untouched. The path is in the encoding given,
  // as OpenRead's.
  virtual bool FindFile(TTextEncoding pathEncoding, const std::string& path,
                        TFileRecord& record) = 0;
  bool FindFile(const std::string& path, TFileRecord& record) {
    return FindFile(TextEncoding(), path, record);
  }
  // True only for an existing file, not for a folder. These three take their paths in
  // the encoding given too, or, without one, in the encoding of texts.
  virtual bool FileExists(TTextEncoding pathEncoding, const std::string& path) = 0;
  bool FileExists(const std::string& path) { return FileExists(TextEncoding(), path); }
  virtual bool CopyFile(TTextEncoding pathEncoding, const std::string& source,
                        const std::string& target, bool replaceExisting) = 0;
  bool CopyFile(const std::string& source, const std::string& target, bool replaceExisting) {
    return CopyFile(TextEncoding(), source, target, replaceExisting);
  }
  virtual bool DeleteFile(TTextEncoding pathEncoding, const std::string& path) = 0;
  bool DeleteFile(const std::string& path) { return DeleteFile(TextEncoding(), path); }
  // The system's time now, as a file's time stamps count it (UTC, 100 ns since 1601).
  virtual TFileTime SystemTime() = 0;
  // Puts source in place of target in one step (MoveFileExA with MOVEFILE_REPLACE_EXISTING),
  // after source's data have reached the disk, so that a crash leaves either the old target
  // or the new one whole. Both lie in the same folder. On failure, error holds the code.
  virtual bool MoveReplacing(const std::string& source, const std::string& target,
                             std::uint32_t& error) = 0;

  // Copies what is left of from into to, chunkSize bytes at a time, telling chunkDone
  // after each chunk. This reads and writes through a buffer; a platform whose system
  // copies between two files itself, without the data passing through the program, does
  // that instead.
  virtual TCopyEnd CopyData(File& from, File& to, std::size_t chunkSize, const TChunkDone& chunkDone) {
    std::vector<char> buffer(chunkSize);
    std::int64_t copied = 0;
    for (;;) {
      std::size_t got = 0;
      if (!from.Read(buffer.data(), buffer.size(), got)) return TCopyEnd::ReadFailed;
      if (got == 0) return TCopyEnd::Done;
      if (!to.Write(buffer.data(), got)) return TCopyEnd::WriteFailed;
      copied += static_cast<std::int64_t>(got);
      if (!chunkDone(copied)) return TCopyEnd::Stopped;
    }
  }
  // Gives source the name target in one step, in the encoding in force: over an existing
  // target when replace is set, else failing with kErrorFileExists when target exists.
  // Both lie in the same folder. On failure, error holds the code.
  virtual bool Rename(const std::string& source, const std::string& target, bool replace,
                      std::uint32_t& error) = 0;

  // --- Windows and messages ------------------------------------------------
  // The first top-level window of the class, or 0.
  virtual WindowHandle FindWindow(const std::string& className) = 0;
  // Sends and waits for the answer (no time-out).
  virtual std::intptr_t SendMessage(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // The zero-terminated text at address in the memory of the process that owns window
  // (opened for reading only): the bytes before its terminating zero unit of unitSize
  // bytes (1 or 2). Nothing when that memory cannot be read or holds no zero unit within
  // maxUnits units.
  virtual std::optional<std::string> ReadProcessText(WindowHandle window, std::uintptr_t address,
                                                     std::size_t unitSize,
                                                     std::size_t maxUnits) = 0;
  // Queues and returns at once.
  virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  // A modal message box; returns when the user closes it.
  virtual void MessageBox(WindowHandle owner, const std::string& text,
                          const std::string& caption, std::uint32_t style) = 0;
  // The folder picker over the whole shell namespace, allowing only file-system
  // folders: the chosen folder's path, or nothing when the user cancels.
  virtual std::optional<std::string> BrowseForFolder(WindowHandle owner,
                                                     const std::string& title) = 0;

  // --- Programs ------------------------------------------------------------
  // WinExec (UTF-8: CreateProcessW, then WaitForInputIdle as WinExec waits): runs a
  // whole command line with a show code; returns once the program first waits for
  // input or the platform's time-out has passed.
  virtual bool RunCommandLine(const std::string& commandLine, int showCode) = 0;
  // CreateProcess with a program path and a command line (possibly empty), no handle
  // inheritance, CREATE_DEFAULT_ERROR_MODE, default start-up settings; does not wait.
  virtual bool StartProgram(const std::string& program, const std::string& commandLine) = 0;
};

}  // namespace plenvox
