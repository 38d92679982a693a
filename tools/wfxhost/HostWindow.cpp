#include "HostWindow.h"

#include <string>

#include "HiddenWindow.h"
#include "Output.h"

namespace plenvox::e2e {

namespace {

constexpr char kHostWindowClass[] = "TTOTAL_CMD";
HWND g_hostWindow = nullptr;

void Report(const char* how, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != g_hostWindow || g_hostWindow == nullptr || message < WM_USER) return;
  PrintLine({how, std::to_string(message),
             std::to_string(static_cast<long long>(static_cast<LONG_PTR>(wParam))),
             std::to_string(static_cast<long long>(lParam))});
}

}  // namespace

bool HostWindow::Create(HINSTANCE instance) {
  window_ = CreateHiddenWindow(instance, kHostWindowClass, "Total Commander (scripted host)",
                               &HostWindow::Procedure);
  if (!window_) return false;
  g_hostWindow = window_;
  const DWORD thread = ::GetCurrentThreadId();
  queuedHook_ = ::SetWindowsHookExA(WH_GETMESSAGE, &HostWindow::QueuedHook, nullptr, thread);
  sentHook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, &HostWindow::SentHook, nullptr, thread);
  return queuedHook_ && sentHook_;
}

HostWindow::~HostWindow() {
  if (queuedHook_) ::UnhookWindowsHookEx(queuedHook_);
  if (sentHook_) ::UnhookWindowsHookEx(sentHook_);
  g_hostWindow = nullptr;
  if (window_) ::DestroyWindow(window_);
}

void HostWindow::PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The host's own commands are not carried out: the hooks have reported them.
  if (message >= WM_USER) return 0;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK HostWindow::QueuedHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    Report("posted", message->hwnd, message->message, message->wParam, message->lParam);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK HostWindow::SentHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Report("sent", message->hwnd, message->message, message->wParam, message->lParam);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace plenvox::e2e
