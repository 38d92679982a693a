// The host's main window as the plug-in finds it: a hidden top-level window of class
// "TTOTAL_CMD". It owns the plug-in's message boxes and folder picker, and it reports
// every message of WM_USER and above that reaches it, such as the panel refresh the
// plug-in posts after an edit: "posted" when it came through the thread's queue (seen by
// a get-message hook, whichever message loop took it), "sent" when it was sent (seen by a
// call-window-procedure hook).
#pragma once

#include <windows.h>

namespace plenvox::e2e {

class HostWindow {
 public:
  bool Create(HINSTANCE instance);
  ~HostWindow();
  HWND Handle() const { return window_; }
  // Delivers everything waiting in the thread's queue, so that posted messages are
  // reported before the next line of the script runs.
  static void PumpMessages();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK QueuedHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  HHOOK queuedHook_ = nullptr;
  HHOOK sentHook_ = nullptr;
};

}  // namespace plenvox::e2e
