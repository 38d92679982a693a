// Runs the script's commands against the loaded plug-in and prints their results.
// The commands and the line format are documented in README.md beside this file.
#pragma once

#include <windows.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CallForm.h"
#include "DialogWatcher.h"
#include "HostWindow.h"
#include "plugin/HostInterface.h"
#include "PluginLibrary.h"

namespace plenvox::e2e {

class Interpreter {
 public:
  Interpreter(PluginLibrary& plugin, HWND host);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;
  // Runs one command; false (after an "error" line) when the script is wrong.
  bool Run(const std::vector<std::string>& words);

 private:
  using Words = std::vector<std::string>;
  // Every plug-in call is wrapped so that dialogs are answered during the call and the
  // messages it posted are delivered right after it.
  template <typename F>
  auto Guarded(F call) {
    dialogs_.Arm();
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      dialogs_.Disarm();
      HostWindow::PumpMessages();
    } else {
      auto result = call();
      dialogs_.Disarm();
      HostWindow::PumpMessages();
      return result;
    }
  }
  bool Require(const std::string& entryPoint, const std::string& command);

  bool Init(const Words& w);
  bool InitW(const Words& w);
  bool RootName(const Words& w);
  bool FindClose(const Words& w);
  bool CodePage(const Words& w);
  // The commands that come in both forms (the W form's command ends with "w").
  template <typename Form>
  bool FindFirst(const Words& w);
  template <typename Form>
  bool FindNext(const Words& w);
  template <typename Form>
  bool List(const Words& w);
  template <typename Form>
  bool Status(const Words& w);
  template <typename Form>
  bool Put(const Words& w);
  template <typename Form>
  bool Delete(const Words& w);
  template <typename Form>
  bool Execute(const Words& w);
  template <typename Form>
  bool GetFile(const Words& w);
  template <typename Form>
  bool Stat(const Words& w);
  bool LastError(const Words& w);
  bool Fill(const Words& w);
  bool Picker(const Words& w);
  bool Send(const Words& w);
  bool WaitWindow(const Words& w);
  bool CloseWindow(const Words& w);
  bool Sleep(const Words& w);
  bool Echo(const Words& w);
  bool Clock(const Words& w);
  bool Progress(const Words& w);
  bool Lock(const Words& w);
  bool Unlock(const Words& w);
  // The content columns (ContentCommands.cpp).
  bool Fields(const Words& w);
  template <typename Form>
  bool Value(const Words& w);
  template <typename Form>
  bool ValueOnThread(const Words& w);
  template <typename Form>
  bool StopValue(const Words& w);
  bool Unloading(const Words& w);
  template <typename Form>
  bool DefaultView(const Words& w);
  // The items' pictures (PictureCommands.cpp).
  template <typename Form>
  bool Icon(const Words& w);
  template <typename Form>
  bool Preview(const Words& w);
  template <typename Form>
  bool PreviewThreads(const Words& w);
  bool Com(const Words& w);
  bool ComState(const Words& w);

  template <typename Form>
  HANDLE CallFindFirst(const std::string& path);
  template <typename Form>
  BOOL CallFindNext(HANDLE search);
  int CallFindClose(HANDLE search);
  template <typename Form>
  void CallStatus(const std::string& path, int startEnd, int operation);
  // How the host hands every find-data record in, in either form.
  template <typename Form>
  typename Form::Record& Passed();

  PluginLibrary& plugin_;
  HWND host_;
  DialogWatcher dialogs_;
  TFindData passed_{};
  TFindDataW passedW_{};
  HANDLE lastSearch_ = INVALID_HANDLE_VALUE;
  bool quiet_ = false;  // a quiet listing prints its count only
  bool onThread_ = false;  // the value being asked is asked from a thread of its own
  std::vector<std::pair<std::string, HANDLE>> locks_;  // files held open by "lock"
};

}  // namespace plenvox::e2e
