// Drives a running settings dialog from outside, as a user would, for the tests:
//   settings-dialog-driver ACTION...
// It first waits for the dialog (a visible top-level window with the dialog's caption),
// then runs the actions in order and prints one tab-separated line for each:
//   dump             "text<TAB>id<TAB>value" for every edit, "check<TAB>id<TAB>0|1" for
//                    every button that can be checked
//   text=ID:VALUE    sets a control's text (WM_SETTEXT)
//   check=ID:0|1     sets a check box or radio button (BM_SETCHECK)
//   click=ID         clicks a button (BM_CLICK, posted so that a message box it opens
//                    does not block the driver)
//   box=ID           waits for a message box owned by the dialog, prints
//                    "box<TAB>caption<TAB>text" and clicks its button ID (1 OK, 6 Yes, 7 No)
//   closed           waits until the dialog is gone and prints "closed"
// Every wait ends after 30 seconds with a message on stderr and exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "SettingsControls.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr DWORD kPollMs = 50;
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

constexpr int kEdits[] = {IDC_INI_FILE,  IDC_WINAMP_FOLDER,    IDC_PLAYLIST_FOLDER,
                          IDC_PLAYLIST_IN_USE, IDC_EDITOR, IDC_SETTINGS_PROGRAM,
                          IDC_EXT_FILTER};
constexpr int kButtons[] = {IDC_MODE_NAME, IDC_MODE_DATA, IDC_MODE_TIME, IDC_BLOCK_DEAD,
                            IDC_DISABLE_MULTI, IDC_NUMBER_COPIES};

template <typename Found>
bool WaitFor(Found found) {
  for (DWORD waited = 0; waited < kTimeoutMs; waited += kPollMs) {
    if (found()) return true;
    ::Sleep(kPollMs);
  }
  return false;
}

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  ::SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

struct BoxSearch {
  HWND owner;
  HWND box;
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<BoxSearch*>(search);
  char className[32] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (window != s->owner && std::string(className) == "#32770" &&
      ::GetWindow(window, GW_OWNER) == s->owner && ::IsWindowVisible(window)) {
    s->box = window;
    return FALSE;
  }
  return TRUE;
}

bool Fail(const std::string& what) {
  std::fprintf(stderr, "settings-dialog-driver: %s\n", what.c_str());
  return false;
}

// "ID:VALUE" split at the first colon.
bool IdAndValue(const std::string& argument, int& id, std::string& value) {
  const auto colon = argument.find(':');
  if (colon == std::string::npos) return false;
  id = std::atoi(argument.substr(0, colon).c_str());
  value = argument.substr(colon + 1);
  return true;
}

void Dump(HWND dialog) {
  for (int id : kEdits) {
    std::printf("text\t%d\t%s\n", id, WindowText(::GetDlgItem(dialog, id)).c_str());
  }
  for (int id : kButtons) {
    std::printf("check\t%d\t%d\n", id, ::IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0);
  }
}

bool AnswerBox(HWND dialog, int button) {
  BoxSearch search{dialog, nullptr};
  if (!WaitFor([&] {
        ::EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        return search.box != nullptr;
      })) {
    return Fail("no message box appeared");
  }
  std::string text = WindowText(::GetDlgItem(search.box, kMessageBoxTextId));
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::printf("box\t%s\t%s\n", WindowText(search.box).c_str(), text.c_str());
  HWND target = ::GetDlgItem(search.box, button);
  if (!target) return Fail("the message box has no button " + std::to_string(button));
  ::PostMessageA(target, BM_CLICK, 0, 0);
  return WaitFor([&] { return !::IsWindow(search.box); }) || Fail("the message box stayed open");
}

bool Act(HWND dialog, const std::string& action) {
  const auto eq = action.find('=');
  const std::string verb = action.substr(0, eq);
  const std::string argument = eq == std::string::npos ? "" : action.substr(eq + 1);
  int id = 0;
  std::string value;
  if (verb == "dump") {
    Dump(dialog);
  } else if (verb == "text" && IdAndValue(argument, id, value)) {
    ::SetDlgItemTextA(dialog, id, value.c_str());
  } else if (verb == "check" && IdAndValue(argument, id, value)) {
    ::SendDlgItemMessageA(dialog, id, BM_SETCHECK, value == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (verb == "click") {
    ::PostMessageA(::GetDlgItem(dialog, std::atoi(argument.c_str())), BM_CLICK, 0, 0);
  } else if (verb == "box") {
    return AnswerBox(dialog, std::atoi(argument.c_str()));
  } else if (verb == "closed") {
    if (!WaitFor([&] { return !::IsWindow(dialog); })) return Fail("the dialog stayed open");
    std::printf("closed\n");
  } else {
    return Fail("unknown action " + action);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  HWND dialog = nullptr;
  if (!WaitFor([&] {
        dialog = ::FindWindowA("#32770", SETTINGS_DIALOG_CAPTION);
        return dialog != nullptr && ::IsWindowVisible(dialog);
      })) {
    Fail("the settings dialog did not appear");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    if (!Act(dialog, argv[i])) return 1;
    std::fflush(stdout);
  }
  return 0;
}
