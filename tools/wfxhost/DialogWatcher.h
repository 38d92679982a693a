// Plays the user in front of the plug-in's modal dialogs. While a plug-in call runs, a
// thread timer looks for visible dialogs of the host's thread (the message loop of a
// modal dialog dispatches the timer), reports each one once and answers it:
//   message box:   "msgbox" line, then OK is pressed;
//   folder picker: "picker" line, then the folder chosen by the script (read as
//                  UTF-8) is selected (BFFM_SETSELECTIONW) and confirmed, or the
//                  picker is cancelled;
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace plenvox::e2e {

class DialogWatcher {
 public:
  explicit DialogWatcher(HWND host) : host_(host) {}
  // The folder that the next pickers choose; nothing cancels them.
  void SetPickerChoice(std::optional<std::string> folder) { pickerChoice_ = std::move(folder); }
  // Watches while a plug-in call runs.
  void Arm();
  void Disarm();

 private:
  struct Seen {
    HWND Dialog;
    int Ticks;  // timer ticks since it was first seen
  };
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK VisitWindow(HWND window, LPARAM self);
  void Visit(HWND dialog);
  void AnswerMessageBox(HWND dialog, int ticks);
  void AnswerPicker(HWND dialog, int ticks);
  std::string OwnerName(HWND dialog) const;

  HWND host_;
  std::optional<std::string> pickerChoice_;
  std::vector<Seen> seen_;
  UINT_PTR timer_ = 0;
};

}  // namespace plenvox::e2e
