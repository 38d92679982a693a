// The host of the Windows editions, reached through its main window (class
// "TTOTAL_CMD"): it owns every message box and the folder picker, and a posted command
// has it re-read its panel. The window is looked up anew every time.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "player/Host.h"

namespace plenvox {

constexpr const char* kHostWindowClass = "TTOTAL_CMD";
// The program of the other host that loads the Windows editions.
constexpr const char* kDoubleCommanderProgram = "doublecmd.exe";

// The host's "re-read the current panel" command.
constexpr std::uint32_t kHostRefreshMessage = 1024 + 51;
constexpr std::uintptr_t kHostRefreshWParam = 540;

class WindowedHost : public Host {
 public:
  explicit WindowedHost(Platform& os) : os_(os) {}

  void ShowMessage(const std::string& text, const std::string& caption) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  void Refresh() override;
  // Total Commander reads a renamed target back; Double Commander, which also runs these
  // editions on Windows, does not.
  bool TakesRenamedTarget() const override;

  WindowHandle Window();

 private:
  Platform& os_;
};

}  // namespace plenvox
