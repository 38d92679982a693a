// The platform seam for the unit tests: it records every call that reaches the outside
// world (environment, registry, INI reader, files, windows, messages, programs,
// message boxes, the folder picker) in order, answers from a script, and can make any
// of them fail. Files are real, in a temporary folder, through the POSIX
// implementation. Text conversions, the encoding of texts and the thread's last error
// are bookkeeping, not calls to the outside, and are not recorded; a call made while
// texts are UTF-8, or a file opened or looked up by a UTF-8 path, is recorded with
// " [utf-8]" at its end.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/posix/PosixPlatform.h"

namespace plenvox::test {

class FakePlatform : public Platform {
 public:
  // --- Script ----------------------------------------------------------------
  std::string moduleFileName = "C:\\Host\\plugins\\PlenvoxFast.wfx";
  std::map<std::string, std::string> environment;          // names as set; looked up without case
  std::optional<RegistryValue> registryValue;              // HKCU\Software\Orrery\Plenvox2\IniFileName
  std::map<std::string, std::string> iniFiles;             // INI path -> text; others read from disk
  std::map<std::string, std::string> machineStrings;       // HKLM "key\value" -> text
  std::map<std::string, WindowHandle> windows;             // window class -> handle
  std::optional<std::string> folderChoice;                 // the picker's answer; nothing = cancel
  std::map<std::uintptr_t, std::string> processMemory;     // address -> bytes there (text and zero)
  // Called for RunCommandLine (after it is recorded); may open windows, for instance.
  std::function<void(const std::string& commandLine, int showCode)> onRunCommandLine;
  // Answers SendMessage (after it is recorded); 0 without a handler.
  std::function<std::intptr_t(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)>
      onSendMessage;

  // A call that fails. op names it: the file operations "open", "create", "read",
  // "write", "close", "seek", "size", "flush", "times", "copy", "delete", "move", "rename"
  // (copy, move and rename match the target), and "getenv", "registry", "registry-write",
  // "machine-registry", "ini",
  // "folders", "findfile", "exists", "findwindow", "send", "post", "picker", "run",
  // "start", "process". It fails when its subject (the path, name, class, window number, title,
  // command line or program) contains part, after `after` such calls have succeeded,
  // with the given code; a failed call answers as the system does when it fails (no
  // value, no window, 0, false, the fallback of the INI reader).
  struct Failure {
    std::string op;
    std::string part;
    std::uint32_t code = kErrorAccessDenied;
    int after = 0;
  };
  void FailOn(const std::string& op, const std::string& part,
              std::uint32_t code = kErrorAccessDenied, int after = 0);

  // --- Record ----------------------------------------------------------------
  std::vector<std::string> calls;
  // The recorded calls whose text starts with one of the prefixes, in order.
  std::vector<std::string> CallsStartingWith(const std::vector<std::string>& prefixes) const;
  // The recorded calls without the pure look-ups (GetEnv, FindWindow, FileExists,
  // FindFile, ReadIni, ReadMachineString): what the code under test did or read from
  // files, registry and windows.
  std::vector<std::string> CallsWithoutLookups() const;
  // True while a file opened through the fake at path is not closed yet.
  bool IsOpen(const std::string& path) const;
  void NoteOpened(const std::string& path, int change);

  // --- Platform --------------------------------------------------------------
  void SetTextEncoding(TTextEncoding encoding) override { encoding_ = encoding; }
  TTextEncoding TextEncoding() const override { return encoding_; }
  std::string ModuleFileName(TTextEncoding encoding) override;
  using Platform::ModuleFileName;
  std::optional<std::string> GetEnv(const std::string& name) override;
  void SetLastError(std::uint32_t code) override;
  std::uint32_t GetLastError() override;
  std::optional<RegistryValue> ReadUserRegistryValue(const std::string& subKey,
                                                     const std::string& valueName) override;
  std::string ReadIniString(const std::string& section, const std::string& key,
                            const std::string& fallback, const std::string& iniPath) override;
  std::optional<std::string> ReadMachineString(const std::string& subKey,
                                               const std::string& valueName) override;
  bool WriteUserRegistryString(const std::string& subKey, const std::string& valueName,
                               const std::string& text, std::uint32_t& error) override;
  bool CreateFolders(const std::string& folder, std::uint32_t& error) override;
  std::string DescribeError(std::uint32_t code) override;
  std::u16string AnsiToWide(const std::string& text) override;
  std::string WideUnitToAnsi(char16_t unit) override;
  std::string WideToAnsi(const std::u16string& text, bool& lost) override;
  using Platform::WideToAnsi;
  std::unique_ptr<File> OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                 std::uint32_t& error) override;
  using Platform::OpenRead;
  std::unique_ptr<File> CreateWrite(TTextEncoding pathEncoding, const std::string& path,
                                    std::uint32_t& error) override;
  using Platform::CreateWrite;
  std::unique_ptr<File> CreateNew(const std::string& path, std::uint32_t& error) override;
  bool FindFile(TTextEncoding pathEncoding, const std::string& path, TFileRecord& record) override;
  using Platform::FindFile;
  bool FileExists(TTextEncoding pathEncoding, const std::string& path) override;
  using Platform::FileExists;
  // The real clock, not recorded: reading it reaches nothing outside.
  TFileTime SystemTime() override { return real_.SystemTime(); }
  bool CopyFile(TTextEncoding pathEncoding, const std::string& source, const std::string& target,
                bool replaceExisting) override;
  using Platform::CopyFile;
  bool DeleteFile(TTextEncoding pathEncoding, const std::string& path) override;
  using Platform::DeleteFile;
  bool Rename(const std::string& source, const std::string& target, bool replace,
              std::uint32_t& error) override;
  bool MoveReplacing(const std::string& source, const std::string& target,
                     std::uint32_t& error) override;
  WindowHandle FindWindow(const std::string& className) override;
  std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  std::optional<std::string> ReadProcessText(WindowHandle window, std::uintptr_t address,
                                             std::size_t unitSize, std::size_t maxUnits) override;
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  void MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  std::optional<std::string> BrowseForFolder(WindowHandle owner, const std::string& title) override;
  bool RunCommandLine(const std::string& commandLine, int showCode) override;
  bool StartProgram(const std::string& program, const std::string& commandLine) override;

  // True when a scripted failure applies to op on subject (counts the call).
  bool ShouldFail(const std::string& op, const std::string& subject, std::uint32_t& code);
  // Records a call, marked when texts are UTF-8.
  void Note(const std::string& call);
  void Note(const std::string& call, TTextEncoding encoding);

 private:
  // Records the call; true when it is to fail (lastError_ then holds the code).
  bool Record(const std::string& call, const std::string& op, const std::string& subject);
  bool Record(const std::string& call, const std::string& op, const std::string& subject,
              TTextEncoding encoding);

  PosixPlatform real_;
  std::vector<Failure> failures_;
  std::map<std::pair<std::string, std::string>, int> seen_;
  std::map<std::string, int> openFiles_;
  std::uint32_t lastError_ = 0;
  TTextEncoding encoding_ = TTextEncoding::Ansi;
};

}  // namespace plenvox::test
