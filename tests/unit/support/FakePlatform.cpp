#include "support/FakePlatform.h"

#include <algorithm>

#include "common/IniText.h"
#include "common/Text.h"

namespace plenvox::test {

namespace {

// A real file whose operations consult the fake's failure script first.
class FakeFile : public File {
 public:
  FakeFile(FakePlatform& fake, std::string path, std::unique_ptr<File> real)
      : fake_(fake), path_(std::move(path)), real_(std::move(real)) {
    fake_.NoteOpened(path_, +1);
  }
  ~FakeFile() override { Release(); }
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    return Check("read") && Forward(real_->Read(buffer, size, got));
  }
  bool Write(const void* data, std::size_t size) override {
    return Check("write") && Forward(real_->Write(data, size));
  }
  bool Seek(std::int64_t offset) override { return Check("seek") && Forward(real_->Seek(offset)); }
  bool Size(std::int64_t& size) override { return Check("size") && Forward(real_->Size(size)); }
  bool Close() override {
    fake_.Note("Close(" + path_ + ")");
    Release();
    const bool closed = real_->Close();
    return Check("close") && Forward(closed);
  }
  std::uint32_t Error() const override { return error_; }
  bool Flush() override { return Check("flush") && Forward(real_->Flush()); }
  bool SetLastWriteTime(const TFileTime& time) override {
    return Check("times") && Forward(real_->SetLastWriteTime(time));
  }

 private:
  bool Check(const char* op) {
    std::uint32_t code = 0;
    if (!fake_.ShouldFail(op, path_, code)) return true;
    error_ = code;
    return false;
  }
  void Release() {
    if (open_) fake_.NoteOpened(path_, -1);
    open_ = false;
  }
  bool Forward(bool ok) {
    if (!ok) error_ = real_->Error();
    return ok;
  }
  FakePlatform& fake_;
  std::string path_;
  std::unique_ptr<File> real_;
  std::uint32_t error_ = 0;
  bool open_ = true;
};

std::string Number(std::uint64_t n) { return std::to_string(n); }
std::string Signed(std::int64_t n) { return std::to_string(n); }

}  // namespace

void FakePlatform::FailOn(const std::string& op, const std::string& part, std::uint32_t code,
                          int after) {
  failures_.push_back(Failure{op, part, code, after});
}

bool FakePlatform::ShouldFail(const std::string& op, const std::string& subject,
                              std::uint32_t& code) {
  for (const auto& failure : failures_) {
    if (failure.op != op || subject.find(failure.part) == std::string::npos) continue;
    int& count = seen_[{op, failure.part}];
    if (count++ < failure.after) continue;
    code = failure.code;
    return true;
  }
  return false;
}

void FakePlatform::Note(const std::string& call) { Note(call, encoding_); }

void FakePlatform::Note(const std::string& call, TTextEncoding encoding) {
  calls.push_back(encoding == TTextEncoding::Utf8 ? call + " [utf-8]" : call);
}

bool FakePlatform::Record(const std::string& call, const std::string& op,
                          const std::string& subject) {
  return Record(call, op, subject, encoding_);
}

bool FakePlatform::Record(const std::string& call, const std::string& op,
                          const std::string& subject, TTextEncoding encoding) {
  Note(call, encoding);
  std::uint32_t code = 0;
  if (!ShouldFail(op, subject, code)) return false;
  lastError_ = code;
  return true;
}

std::vector<std::string> FakePlatform::CallsStartingWith(
    const std::vector<std::string>& prefixes) const {
  std::vector<std::string> matching;
  for (const auto& call : calls) {
    for (const auto& prefix : prefixes) {
      if (call.compare(0, prefix.size(), prefix) == 0) {
        matching.push_back(call);
        break;
      }
    }
  }
  return matching;
}

std::vector<std::string> FakePlatform::CallsWithoutLookups() const {
  static const std::vector<std::string> kLookups = {"GetEnv(",   "FindWindow(", "FileExists(",
                                                    "FindFile(", "ReadIni(",    "ReadMachineString("};
  std::vector<std::string> kept;
  for (const auto& call : calls) {
    const bool lookup = std::any_of(kLookups.begin(), kLookups.end(), [&](const std::string& prefix) {
      return call.compare(0, prefix.size(), prefix) == 0;
    });
    if (!lookup) kept.push_back(call);
  }
  return kept;
}

void FakePlatform::NoteOpened(const std::string& path, int change) { openFiles_[path] += change; }

bool FakePlatform::IsOpen(const std::string& path) const {
  const auto it = openFiles_.find(path);
  return it != openFiles_.end() && it->second > 0;
}

std::string FakePlatform::ModuleFileName(TTextEncoding) { return moduleFileName; }

std::optional<std::string> FakePlatform::GetEnv(const std::string& name) {
  if (Record("GetEnv(" + name + ")", "getenv", name)) return std::nullopt;
  for (const auto& [key, value] : environment) {
    if (LowerAscii(key) == LowerAscii(name)) return value;
  }
  return std::nullopt;
}

void FakePlatform::SetLastError(std::uint32_t code) { lastError_ = code; }
std::uint32_t FakePlatform::GetLastError() { return lastError_; }

std::optional<RegistryValue> FakePlatform::ReadUserRegistryValue(const std::string& subKey,
                                                                 const std::string& valueName) {
  if (Record("ReadRegistry(" + subKey + ", " + valueName + ")", "registry", subKey)) {
    return std::nullopt;
  }
  return registryValue;
}

std::string FakePlatform::ReadIniString(const std::string& section, const std::string& key,
                                        const std::string& fallback, const std::string& iniPath) {
  const bool fails = Record("ReadIni(" + section + ", " + key + ", " + iniPath + ")", "ini", iniPath);
  const auto scripted = iniFiles.find(iniPath);
  if (fails || scripted != iniFiles.end()) {
    return LookUpIniValue(fails ? "" : scripted->second, section, key, fallback);
  }
  return real_.ReadIniString(section, key, fallback, iniPath);
}

std::optional<std::string> FakePlatform::ReadMachineString(const std::string& subKey,
                                                           const std::string& valueName) {
  const std::string name = subKey + "\\" + valueName;
  if (Record("ReadMachineString(" + name + ")", "machine-registry", name)) return std::nullopt;
  const auto it = machineStrings.find(name);
  if (it == machineStrings.end()) return std::nullopt;
  return it->second;
}

bool FakePlatform::WriteUserRegistryString(const std::string& subKey, const std::string& valueName,
                                           const std::string& text, std::uint32_t& error) {
  error = 0;
  if (Record("WriteRegistry(" + subKey + ", " + valueName + ", " + text + ")", "registry-write",
             subKey)) {
    error = lastError_;
    return false;
  }
  registryValue = RegistryValue{1, text + '\0'};
  return true;
}

bool FakePlatform::CreateFolders(const std::string& folder, std::uint32_t& error) {
  if (Record("CreateFolders(" + folder + ")", "folders", folder)) {
    error = lastError_;
    return false;
  }
  return real_.CreateFolders(folder, error);
}

std::string FakePlatform::DescribeError(std::uint32_t code) { return "code " + std::to_string(code); }

std::u16string FakePlatform::AnsiToWide(const std::string& text) { return real_.AnsiToWide(text); }
std::string FakePlatform::WideUnitToAnsi(char16_t unit) { return real_.WideUnitToAnsi(unit); }
std::string FakePlatform::WideToAnsi(const std::u16string& text, bool& lost) {
  return real_.WideToAnsi(text, lost);
}

std::unique_ptr<File> FakePlatform::OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                             std::uint32_t& error) {
  Note("OpenRead(" + path + ")", pathEncoding);
  if (ShouldFail("open", path, error)) return nullptr;
  auto file = real_.OpenRead(pathEncoding, path, error);
  return file ? std::make_unique<FakeFile>(*this, path, std::move(file)) : nullptr;
}

std::unique_ptr<File> FakePlatform::CreateWrite(TTextEncoding pathEncoding, const std::string& path,
                                                std::uint32_t& error) {
  Note("CreateWrite(" + path + ")", pathEncoding);
  if (ShouldFail("create", path, error)) return nullptr;
  auto file = real_.CreateWrite(pathEncoding, path, error);
  return file ? std::make_unique<FakeFile>(*this, path, std::move(file)) : nullptr;
}

std::unique_ptr<File> FakePlatform::CreateNew(const std::string& path, std::uint32_t& error) {
  Note("CreateNew(" + path + ")");
  if (ShouldFail("create", path, error)) return nullptr;
  auto file = real_.CreateNew(path, error);
  return file ? std::make_unique<FakeFile>(*this, path, std::move(file)) : nullptr;
}

bool FakePlatform::FindFile(TTextEncoding pathEncoding, const std::string& path,
                            TFileRecord& record) {
  if (Record("FindFile(" + path + ")", "findfile", path, pathEncoding)) return false;
  return real_.FindFile(pathEncoding, path, record);
}

bool FakePlatform::FileExists(TTextEncoding pathEncoding, const std::string& path) {
  if (Record("FileExists(" + path + ")", "exists", path, pathEncoding)) return false;
  return real_.FileExists(pathEncoding, path);
}

bool FakePlatform::CopyFile(TTextEncoding pathEncoding, const std::string& source,
                            const std::string& target, bool replaceExisting) {
  if (Record("CopyFile(" + source + ", " + target + ", " + (replaceExisting ? "replace" : "keep") + ")",
             "copy", target, pathEncoding)) {
    return false;
  }
  return real_.CopyFile(pathEncoding, source, target, replaceExisting);
}

bool FakePlatform::DeleteFile(TTextEncoding pathEncoding, const std::string& path) {
  if (Record("DeleteFile(" + path + ")", "delete", path, pathEncoding)) return false;
  return real_.DeleteFile(pathEncoding, path);
}

bool FakePlatform::Rename(const std::string& source, const std::string& target, bool replace,
                          std::uint32_t& error) {
  if (Record("Rename(" + source + ", " + target + ", " + (replace ? "replace" : "keep") + ")", "rename",
             target)) {
    error = lastError_;
    return false;
  }
  return real_.Rename(source, target, replace, error);
}

bool FakePlatform::MoveReplacing(const std::string& source, const std::string& target,
                                 std::uint32_t& error) {
  if (Record("MoveReplacing(" + source + ", " + target + ")", "move", target)) {
    error = lastError_;
    return false;
  }
  return real_.MoveReplacing(source, target, error);
}

WindowHandle FakePlatform::FindWindow(const std::string& className) {
  if (Record("FindWindow(" + className + ")", "findwindow", className)) return 0;
  const auto it = windows.find(className);
  return it == windows.end() ? 0 : it->second;
}

std::intptr_t FakePlatform::SendMessage(WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
  if (Record("SendMessage(" + Number(window) + ", " + Number(message) + ", " +
                 Signed(static_cast<std::intptr_t>(wParam)) + ", " + Signed(lParam) + ")",
             "send", Number(window))) {
    return 0;  // what SendMessage answers when the window is gone
  }
  return onSendMessage ? onSendMessage(window, message, wParam, lParam) : 0;
}

std::optional<std::string> FakePlatform::ReadProcessText(WindowHandle window, std::uintptr_t address,
                                                         std::size_t unitSize,
                                                         std::size_t maxUnits) {
  if (Record("ReadProcessText(" + Number(window) + ", " + Number(address) + ", " +
                 Number(unitSize) + ")",
             "process", Number(window))) {
    return std::nullopt;
  }
  const auto memory = processMemory.find(address);
  if (memory == processMemory.end() || unitSize == 0) return std::nullopt;
  const std::string& bytes = memory->second;
  for (std::size_t at = 0; at + unitSize <= bytes.size() && at / unitSize <= maxUnits; at += unitSize) {
    if (bytes.compare(at, unitSize, std::string(unitSize, '\0')) == 0) return bytes.substr(0, at);
  }
  return std::nullopt;
}

bool FakePlatform::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  return !Record("PostMessage(" + Number(window) + ", " + Number(message) + ", " + Number(wParam) +
                     ", " + Signed(lParam) + ")",
                 "post", Number(window));
}

void FakePlatform::MessageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, std::uint32_t style) {
  Note("MessageBox(" + Number(owner) + ", " + text + ", " + caption + ", " +
                  Number(style) + ")");
}

std::optional<std::string> FakePlatform::BrowseForFolder(WindowHandle owner,
                                                         const std::string& title) {
  if (Record("BrowseForFolder(" + Number(owner) + ", " + title + ")", "picker", title)) {
    return std::nullopt;
  }
  return folderChoice;
}

bool FakePlatform::RunCommandLine(const std::string& commandLine, int showCode) {
  if (Record("RunCommandLine(" + commandLine + ", " + Signed(showCode) + ")", "run", commandLine)) {
    return false;
  }
  if (onRunCommandLine) onRunCommandLine(commandLine, showCode);
  return true;
}

bool FakePlatform::StartProgram(const std::string& program, const std::string& commandLine) {
  return !Record("StartProgram(" + program + ", " + commandLine + ")", "start", program);
}

}  // namespace plenvox::test
