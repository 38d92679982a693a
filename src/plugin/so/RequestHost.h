// The host of the Linux edition: Double Commander, reached only through the request
// callback that it hands to FsInit and FsInitW. Messages are its RT_MsgOK box; the
// folder for "save" is asked with RT_TargetDir (a text box, prefilled with the home
// folder); a new listing follows every operation by itself, so there is nothing to
// refresh.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "player/Host.h"
#include "plugin/HostInterface.h"

namespace plenvox {

constexpr int kRequestTargetDir = 6;  // RT_TargetDir
constexpr int kRequestMsgOk = 8;      // RT_MsgOK
// The room of the answer to a request: a path of Double Commander's MAX_PATH on Linux.
constexpr int kRequestAnswerUnits = 4096;

class RequestHost : public Host {
 public:
  explicit RequestHost(Platform& os) : os_(os) {}

  // The callbacks of the last FsInit and FsInitW; the UTF-16 one is used when there is
  // one.
  void Keep(int pluginNumber, wfx::TRequestProc request);
  void Keep(int pluginNumber, wfx::TRequestProcW request);

  void ShowMessage(const std::string& text, const std::string& caption) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  void Refresh() override {}
  // Double Commander copies to the name it asked for, whatever the plug-in answers.
  bool TakesRenamedTarget() const override { return false; }

 private:
  // The request with texts in the core's encoding; the answer, or nothing when the
  // user cancelled or no callback is known.
  std::optional<std::string> Ask(int type, const std::string& title, const std::string& text,
                                 const std::string& prefill);

  Platform& os_;
  int pluginNumber_ = 0;
  wfx::TRequestProc request_ = nullptr;
  wfx::TRequestProcW requestW_ = nullptr;
};

}  // namespace plenvox
