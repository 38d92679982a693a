// The platform seam on Windows: the real Win32 calls, each made the way the plug-in
// relies on it: the A functions while texts are ANSI, the W functions, with every text
// converted between UTF-8 and UTF-16 here, while they are UTF-8.
#pragma once

#include "platform/Platform.h"

namespace plenvox {

class Win32Platform : public Platform {
 public:
  // module: the HMODULE of the plug-in (its DllMain argument); 0 means the program.
  explicit Win32Platform(void* module = nullptr) : module_(module) {}

  void SetTextEncoding(TTextEncoding encoding) override { encoding_ = encoding; }
  TTextEncoding TextEncoding() const override { return encoding_; }

  std::string ModuleFileName(TTextEncoding encoding) override;
  using Platform::ModuleFileName;
  std::string ProgramFileName() override;
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
  std::u16string CodePageToWide(std::uint32_t codePage, std::string_view text) override;
  bool AnsiHoldsEveryCharacter() const override;

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
  TFileTime SystemTime() override;
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

 private:
  bool Utf8() const { return encoding_ == TTextEncoding::Utf8; }

  void* module_;
  TTextEncoding encoding_ = TTextEncoding::Ansi;
};

}  // namespace plenvox
