#include "DialogWatcher.h"

#include <shlobj.h>

#include "EscapedText.h"
#include "Output.h"
#include "WideText.h"

namespace plenvox::e2e {

namespace {

constexpr UINT kTickMilliseconds = 50;
DialogWatcher* g_watcher = nullptr;

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[4096] = {};
  const int n = ::GetWindowTextA(window, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool Visible(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

bool HasTreeView(HWND dialog) {
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) == "SysTreeView32") return true;
  }
  return false;
}

bool IsIconStatic(HWND window) {
  return (::GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The standard icon that a message box shows, by the shared icon handles.
std::string IconName(HWND dialog) {
  struct Known {
    LPCSTR Id;
    const char* Name;
  };
  static const Known kKnown[] = {{IDI_INFORMATION, "information"},
                                 {IDI_WARNING, "warning"},
                                 {IDI_ERROR, "error"},
                                 {IDI_QUESTION, "question"}};
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) != "Static" || !IsIconStatic(child) || !Visible(child)) continue;
    const auto icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    if (!icon) continue;
    for (const Known& known : kKnown) {
      if (icon == ::LoadIconA(nullptr, known.Id)) return known.Name;
    }
    return "other";
  }
  return "none";
}

// The visible texts of the dialog's controls of one class, joined by "|".
std::string ControlTexts(HWND dialog, const char* className) {
  std::string joined;
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) != className || !Visible(child) || IsIconStatic(child)) continue;
    std::string text = TextOf(child);
    if (text.empty()) continue;
    if (!joined.empty()) joined += '|';
    joined += text;
  }
  return joined;
}

}  // namespace

void DialogWatcher::Arm() {
  g_watcher = this;
  seen_.clear();
  timer_ = ::SetTimer(nullptr, 0, kTickMilliseconds, &DialogWatcher::Tick);
}

void DialogWatcher::Disarm() {
  if (timer_) ::KillTimer(nullptr, timer_);
  timer_ = 0;
  g_watcher = nullptr;
}

void CALLBACK DialogWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_watcher) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &DialogWatcher::VisitWindow,
                        reinterpret_cast<LPARAM>(g_watcher));
  }
}

BOOL CALLBACK DialogWatcher::VisitWindow(HWND window, LPARAM self) {
  if (ClassOf(window) == "#32770" && Visible(window)) {
    reinterpret_cast<DialogWatcher*>(self)->Visit(window);
  }
  return TRUE;
}

void DialogWatcher::Visit(HWND dialog) {
  int ticks = 0;
  bool known = false;
  for (Seen& seen : seen_) {
    if (seen.Dialog == dialog) {
      ticks = ++seen.Ticks;
      known = true;
    }
  }
  if (!known) seen_.push_back({dialog, 0});
  if (HasTreeView(dialog)) {
    AnswerPicker(dialog, ticks);
  } else {
    AnswerMessageBox(dialog, ticks);
  }
}

// First tick: report it and press OK. A box still there half a second later has no
// OK button and is cancelled instead.
void DialogWatcher::AnswerMessageBox(HWND dialog, int ticks) {
  if (ticks == 0) {
    PrintLine({"msgbox", OwnerName(dialog), IconName(dialog),
               EscapedText(ControlTexts(dialog, "Button")), EscapedText(TextOf(dialog)),
               EscapedText(ControlTexts(dialog, "Static"))});
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  } else if (ticks == 10) {
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

// First tick: report it and select the folder; a later tick confirms, so that the
// picker has handled the selection (and any expansion of its tree) before OK.
void DialogWatcher::AnswerPicker(HWND dialog, int ticks) {
  if (ticks == 0) {
    PrintLine({"picker", OwnerName(dialog), EscapedText(TextOf(dialog)),
               EscapedText(ControlTexts(dialog, "Static")),
               pickerChoice_ ? "choose" : "cancel", EscapedText(pickerChoice_.value_or(""))});
    if (pickerChoice_) {
      // The script's folder is UTF-8 (plain ASCII in most scenarios).
      const std::wstring folder = WideOfUtf8(*pickerChoice_);
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    }
  } else if (ticks == 2) {
    ::PostMessageA(dialog, WM_COMMAND, pickerChoice_ ? IDOK : IDCANCEL, 0);
  }
}

std::string DialogWatcher::OwnerName(HWND dialog) const {
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  if (!owner) return "none";
  if (owner == host_) return "host";
  return "window:" + Hex(reinterpret_cast<std::uintptr_t>(owner), 8);
}

}  // namespace plenvox::e2e
