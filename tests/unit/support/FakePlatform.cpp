#include "support/FakePlatform.h"

#include "common/Text.h"

namespace plenvox::test {

namespace {

// A real file whose operations consult the fake's failure script first.
class FakeFile : public File {
 public:
  FakeFile(FakePlatform& fake, std::string path, std::unique_ptr<File> real)
      : fake_(fake), path_(std::move(path)), real_(std::move(real)) {}
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
    fake_.calls.push_back("Close(" + path_ + ")");
    const bool closed = real_->Close();
    return Check("close") && Forward(closed);
  }
  std::uint32_t Error() const override { return error_; }

 private:
  bool Check(const char* op) {
    std::uint32_t code = 0;
    if (!fake_.ShouldFail(op, path_, code)) return true;
    error_ = code;
    return false;
  }
  bool Forward(bool ok) {
    if (!ok) error_ = real_->Error();
    return ok;
  }
  FakePlatform& fake_;
  std::string path_;
  std::unique_ptr<File> real_;
  std::uint32_t error_ = 0;
};

std::string Number(std::uint64_t n) { return std::to_string(n); }
std::string Signed(std::int64_t n) { return std::to_string(n); }

}  // namespace

void FakePlatform::FailOn(const std::string& op, const std::string& pathPart, std::uint32_t code,
                          int after) {
  failures_.push_back(Failure{op, pathPart, code, after});
}

bool FakePlatform::ShouldFail(const std::string& op, const std::string& path,
                              std::uint32_t& code) {
  for (const auto& failure : failures_) {
    if (failure.op != op || path.find(failure.pathPart) == std::string::npos) continue;
    int& count = seen_[{op, failure.pathPart}];
    if (count++ < failure.after) continue;
    code = failure.code;
    return true;
  }
  return false;
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

std::string FakePlatform::ModuleFileName() { return moduleFileName; }

std::optional<std::string> FakePlatform::GetEnv(const std::string& name) {
  for (const auto& [key, value] : environment) {
    if (LowerAscii(key) == LowerAscii(name)) return value;
  }
  return std::nullopt;
}

void FakePlatform::SetLastError(std::uint32_t code) { lastError_ = code; }
std::uint32_t FakePlatform::GetLastError() { return lastError_; }

std::optional<RegistryValue> FakePlatform::ReadUserRegistryValue(const std::string& subKey,
                                                                 const std::string& valueName) {
  calls.push_back("ReadRegistry(" + subKey + ", " + valueName + ")");
  return registryValue;
}

std::string FakePlatform::ReadIniString(const std::string& section, const std::string& key,
                                        const std::string& fallback, const std::string& iniPath) {
  const auto scripted = iniFiles.find(iniPath);
  if (scripted != iniFiles.end()) return LookUpIniValue(scripted->second, section, key, fallback);
  return real_.ReadIniString(section, key, fallback, iniPath);
}

std::u16string FakePlatform::AnsiToWide(const std::string& text) { return real_.AnsiToWide(text); }
std::string FakePlatform::WideUnitToAnsi(char16_t unit) { return real_.WideUnitToAnsi(unit); }
std::string FakePlatform::WideToAnsi(const std::u16string& text) { return real_.WideToAnsi(text); }

std::unique_ptr<File> FakePlatform::OpenRead(const std::string& path, std::uint32_t& error) {
  calls.push_back("OpenRead(" + path + ")");
  if (ShouldFail("open", path, error)) return nullptr;
  auto file = real_.OpenRead(path, error);
  return file ? std::make_unique<FakeFile>(*this, path, std::move(file)) : nullptr;
}

std::unique_ptr<File> FakePlatform::CreateWrite(const std::string& path, std::uint32_t& error) {
  calls.push_back("CreateWrite(" + path + ")");
  if (ShouldFail("create", path, error)) return nullptr;
  auto file = real_.CreateWrite(path, error);
  return file ? std::make_unique<FakeFile>(*this, path, std::move(file)) : nullptr;
}

bool FakePlatform::FindFile(const std::string& path, TFindData& record) {
  return real_.FindFile(path, record);
}

bool FakePlatform::FileExists(const std::string& path) { return real_.FileExists(path); }

bool FakePlatform::CopyFile(const std::string& source, const std::string& target,
                            bool replaceExisting) {
  calls.push_back("CopyFile(" + source + ", " + target + ", " + (replaceExisting ? "replace" : "keep") + ")");
  std::uint32_t code = 0;
  if (ShouldFail("copy", target, code)) return false;
  return real_.CopyFile(source, target, replaceExisting);
}

bool FakePlatform::DeleteFile(const std::string& path) {
  calls.push_back("DeleteFile(" + path + ")");
  std::uint32_t code = 0;
  if (ShouldFail("delete", path, code)) return false;
  return real_.DeleteFile(path);
}

bool FakePlatform::MoveReplacing(const std::string& source, const std::string& target,
                                 std::uint32_t& error) {
  calls.push_back("MoveReplacing(" + source + ", " + target + ")");
  if (ShouldFail("move", target, error)) return false;
  return real_.MoveReplacing(source, target, error);
}

WindowHandle FakePlatform::FindWindow(const std::string& className) {
  const auto it = windows.find(className);
  return it == windows.end() ? 0 : it->second;
}

std::intptr_t FakePlatform::SendMessage(WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
  calls.push_back("SendMessage(" + Number(window) + ", " + Number(message) + ", " +
                  Signed(static_cast<std::intptr_t>(wParam)) + ", " + Signed(lParam) + ")");
  return onSendMessage ? onSendMessage(window, message, wParam, lParam) : 0;
}

bool FakePlatform::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  calls.push_back("PostMessage(" + Number(window) + ", " + Number(message) + ", " +
                  Number(wParam) + ", " + Signed(lParam) + ")");
  return true;
}

void FakePlatform::MessageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, std::uint32_t style) {
  calls.push_back("MessageBox(" + Number(owner) + ", " + text + ", " + caption + ", " +
                  Number(style) + ")");
}

std::optional<std::string> FakePlatform::BrowseForFolder(WindowHandle owner,
                                                         const std::string& title) {
  calls.push_back("BrowseForFolder(" + Number(owner) + ", " + title + ")");
  return folderChoice;
}

bool FakePlatform::RunCommandLine(const std::string& commandLine, int showCode) {
  calls.push_back("RunCommandLine(" + commandLine + ", " + Signed(showCode) + ")");
  if (onRunCommandLine) onRunCommandLine(commandLine, showCode);
  return true;
}

bool FakePlatform::StartProgram(const std::string& program, const std::string& commandLine) {
  calls.push_back("StartProgram(" + program + ", " + commandLine + ")");
  return true;
}

}  // namespace plenvox::test
