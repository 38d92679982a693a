#include "SettingsDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <iterator>
#include <vector>

#include "Console.h"
#include "SettingsControls.h"
#include "common/Path.h"
#include "settings/PlayerSearch.h"
#include "settings/SettingsReport.h"
#include "settings/SettingsCommands.h"
#include "settings/SettingsEdit.h"
#include "settings/SettingsSave.h"

namespace plenvox {

namespace {

constexpr int kModeButtons[] = {IDC_MODE_NAME, IDC_MODE_DATA, IDC_MODE_TIME};

struct DialogState {
  Platform& os;
  SettingsLocation location;
  std::string commanderPath;
};

std::string ControlText(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  std::vector<char> buffer(static_cast<std::size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
  ::GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data());
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  ::SetDlgItemTextA(dialog, id, text.c_str());
}

bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) {
  ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

void ShowForm(HWND dialog, const TSettingsForm& form) {
  SetControlText(dialog, IDC_WINAMP_FOLDER, form.WinampFolder);
  SetControlText(dialog, IDC_PLAYLIST_FOLDER, form.PlaylistFolder);
  SetControlText(dialog, IDC_EDITOR, form.Editor);
  SetControlText(dialog, IDC_SETTINGS_PROGRAM, form.SettingsProgram);
  // A stored mode other than the three leaves every button clear, and the key as it is.
  if (form.DisplayMode) Check(dialog, kModeButtons[static_cast<int>(*form.DisplayMode)], true);
  SetControlText(dialog, IDC_EXT_FILTER, form.ExtFilter);
  Check(dialog, IDC_BLOCK_DEAD, form.BlockDead);
  Check(dialog, IDC_DISABLE_MULTI, form.DisableMulti);
  SetControlText(dialog, IDC_TAG_CODE_PAGE, std::to_string(form.TagCodePage));
  Check(dialog, IDC_NUMBER_COPIES, form.NumberCopies);
}

TSettingsForm FormFromControls(HWND dialog) {
  TSettingsForm form;
  form.WinampFolder = ControlText(dialog, IDC_WINAMP_FOLDER);
  form.PlaylistFolder = ControlText(dialog, IDC_PLAYLIST_FOLDER);
  form.Editor = ControlText(dialog, IDC_EDITOR);
  form.SettingsProgram = ControlText(dialog, IDC_SETTINGS_PROGRAM);
  for (int mode = 0; mode < static_cast<int>(std::size(kModeButtons)); ++mode) {
    if (IsChecked(dialog, kModeButtons[mode])) form.DisplayMode = static_cast<TDisplayMode>(mode);
  }
  form.ExtFilter = ControlText(dialog, IDC_EXT_FILTER);
  form.BlockDead = IsChecked(dialog, IDC_BLOCK_DEAD);
  form.DisableMulti = IsChecked(dialog, IDC_DISABLE_MULTI);
  form.TagCodePage = CodePageValue(ControlText(dialog, IDC_TAG_CODE_PAGE));
  form.NumberCopies = IsChecked(dialog, IDC_NUMBER_COPIES);
  return form;
}

void Initialize(HWND dialog, DialogState& state) {
  const bool exists = state.os.FileExists(state.location.IniPath);
  SetControlText(dialog, IDC_INI_FILE,
                 state.location.IniPath + (exists ? "" : "  (new)"));
  TSettingsForm form = ReadSettingsForm(state.os, exists ? state.location.IniPath : "");
  // A new user gets the installed player's folders proposed: its program folder and,
  // when it keeps its playlist elsewhere, that folder; and every format the folder reads.
  if (!exists) form.ExtFilter = kProposedExtFilter;
  if (form.WinampFolder.empty()) {
    form.WinampFolder = FindPlayerFolder(state.os);
    if (form.PlaylistFolder.empty()) {
      form.PlaylistFolder = FindPlayerSettingsFolder(state.os, form.WinampFolder);
    }
  }
  ShowForm(dialog, form);
  TSettings settings;
  LoadSettings(state.os, state.commanderPath, settings);
  SetControlText(dialog, IDC_PLAYLIST_IN_USE, PlaylistFolderInUseNow(state.os, settings));
}

// True when the values passed their checks (the user accepting any warnings) and were saved.
bool Save(HWND dialog, DialogState& state) {
  std::vector<IniAssignment> assignments = FormAssignments(FormFromControls(dialog));
  const SettingsCheck check = CheckAssignments(state.os, state.commanderPath, assignments);
  if (!check.Errors.empty()) {
    ::MessageBoxA(dialog, Lines(check.Errors).c_str(), SETTINGS_DIALOG_CAPTION, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!check.Warnings.empty()) {
    const std::string text = Lines(check.Warnings) + "\nSave anyway?";
    if (::MessageBoxA(dialog, text.c_str(), SETTINGS_DIALOG_CAPTION, MB_YESNO | MB_ICONWARNING) != IDYES) {
      return false;
    }
  }
  std::string message;
  if (!SaveSettings(state.os, state.location, assignments, message)) {
    ::MessageBoxA(dialog, message.c_str(), SETTINGS_DIALOG_CAPTION, MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

void BrowseFolder(HWND dialog, DialogState& state, int editId, const char* title) {
  const auto folder = state.os.BrowseForFolder(reinterpret_cast<WindowHandle>(dialog), title);
  if (!folder) return;
  SetControlText(dialog, editId, WithTrailingSeparator(*folder));
}

void BrowseProgram(HWND dialog, int editId) {
  char path[MAX_PATH] = {};
  const std::string current = ControlText(dialog, editId);
  if (current.size() < sizeof path) current.copy(path, current.size());
  OPENFILENAMEA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = dialog;
  choice.lpstrFilter = "Programs (*.exe)\0*.exe\0All files\0*.*\0";
  choice.lpstrFile = path;
  choice.nMaxFile = sizeof path;
  choice.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (::GetOpenFileNameA(&choice)) SetControlText(dialog, editId, path);
}

void Command(HWND dialog, DialogState& state, int id) {
  switch (id) {
    case IDC_SETTINGS_OK:
      if (Save(dialog, state)) ::EndDialog(dialog, IDOK);
      break;
    case IDC_SETTINGS_CANCEL: ::EndDialog(dialog, IDCANCEL); break;
    case IDC_WINAMP_FOLDER_BROWSE:
      BrowseFolder(dialog, state, IDC_WINAMP_FOLDER, "The player's folder (where winamp.exe is):");
      break;
    case IDC_PLAYLIST_FOLDER_BROWSE:
      BrowseFolder(dialog, state, IDC_PLAYLIST_FOLDER,
                   "The folder of the player's playlist (where winamp.m3u is):");
      break;
    case IDC_EDITOR_BROWSE: BrowseProgram(dialog, IDC_EDITOR); break;
    case IDC_SETTINGS_PROGRAM_BROWSE: BrowseProgram(dialog, IDC_SETTINGS_PROGRAM); break;
    default: break;
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Initialize(dialog, *reinterpret_cast<DialogState*>(lParam));
      // Start in the player's folder rather than in the read-only file name.
      ::SetFocus(::GetDlgItem(dialog, IDC_WINAMP_FOLDER));
      return FALSE;
    }
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_COMMAND && state) {
      Command(dialog, *state, LOWORD(wParam));
      return TRUE;
    }
  } catch (const std::exception& failure) {
    // Nothing may unwind through the system's dialog code.
    ::MessageBoxA(dialog, failure.what(), SETTINGS_DIALOG_CAPTION, MB_OK | MB_ICONERROR);
  }
  return FALSE;
}

}  // namespace

int RunSettingsDialog(Platform& os) {
  DialogState state{os, LocateSettings(os), CaptureCommanderPath(os)};
  const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS),
                                           nullptr, DialogProc, reinterpret_cast<LPARAM>(&state));
  if (result == IDOK) return kExitSuccess;
  if (result == -1) WriteError("settings: the dialog cannot be shown.\r\n");
  else WriteError("settings: cancelled; nothing was saved.\r\n");
  return kExitFailure;
}

}  // namespace plenvox
