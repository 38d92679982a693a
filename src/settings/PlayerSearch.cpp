#include "settings/PlayerSearch.h"

#include "common/FileNames.h"
#include "common/Path.h"
#include "common/Text.h"

namespace plenvox {

namespace {

constexpr const char* kPlayerUserKey = "Software\\Winamp";
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
constexpr const char* kUninstallValues[] = {"UninstallString", "DisplayIcon"};
// 32-bit programs on 64-bit Windows see the 32-bit folder as ProgramFiles;
// ProgramW6432 names the other one.
constexpr const char* kProgramFilesVariables[] = {"ProgramFiles", "ProgramFiles(x86)",
                                                  "ProgramW6432"};
constexpr std::string_view kExe = ".exe";
// The folder that the player's installer proposes inside the program-files folder.
constexpr std::string_view kPlayerFolderName = "Winamp";

// The program path without quotation marks, arguments or icon index.
std::string ProgramPath(const std::string& registered) {
  const auto start = registered.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  if (registered[start] == '"') {
    const auto close = registered.find('"', start + 1);
    return registered.substr(start + 1, close == std::string::npos ? std::string::npos
                                                                    : close - start - 1);
  }
  // Unquoted paths may hold blanks, so the program ends at its ".exe".
  const auto exe = LowerAscii(registered).find(kExe, start);
  if (exe != std::string::npos) return registered.substr(start, exe + kExe.size() - start);
  return registered.substr(start, registered.find(',', start) - start);
}

void AddCandidate(std::vector<std::string>& candidates, const std::string& folder) {
  if (folder.empty()) return;
  for (const auto& known : candidates) {
    if (LowerAscii(known) == LowerAscii(folder)) return;
  }
  candidates.push_back(folder);
}

}  // namespace

std::string ProgramFolder(const std::string& registered) {
  return FolderOf(ProgramPath(registered));
}

std::vector<std::string> PlayerFolderCandidates(Platform& os) {
  std::vector<std::string> candidates;
  const auto installed = os.ReadUserRegistryValue(kPlayerUserKey, "");
  if (installed && (installed->Type == 1 || installed->Type == 2)) {
    // The stored bytes end with the terminating zero.
    AddCandidate(candidates, WithTrailingSeparator(std::string(installed->Data.c_str())));
  }
  for (const char* value : kUninstallValues) {
    if (const auto registered = os.ReadMachineString(kUninstallKey, value)) {
      AddCandidate(candidates, ProgramFolder(*registered));
    }
  }
  for (const char* variable : kProgramFilesVariables) {
    const auto folder = os.GetEnv(variable);
    if (folder && !folder->empty()) {
      AddCandidate(candidates,
                   WithTrailingSeparator(*folder) + std::string(kPlayerFolderName) + kPathSeparator);
    }
  }
  return candidates;
}

std::string FindPlayerSettingsFolder(Platform& os, const std::string& playerFolder) {
  constexpr const char* kApplicationDataMark = "{26}";  // CSIDL_APPDATA
  const std::string applicationData = os.GetEnv("APPDATA").value_or("");
  std::string folder;
  if (!playerFolder.empty()) {
    folder = os.ReadIniString("Winamp", "inidir", "", playerFolder + "paths.ini");
    folder = ReplaceAll(folder, kApplicationDataMark, WithoutTrailingSeparator(applicationData));
  }
  if (folder.empty() && !applicationData.empty()) {
    const std::string candidate = JoinPath(applicationData, kPlayerFolderName);
    if (os.FileExists(JoinPath(candidate, "winamp.ini"))) folder = candidate;
  }
  folder = WithTrailingSeparator(folder);
  return LowerAscii(folder) == LowerAscii(playerFolder) ? std::string() : folder;
}

std::string FindPlayerFolder(Platform& os) {
  for (const auto& folder : PlayerFolderCandidates(os)) {
    if (os.FileExists(folder + std::string(kPlayerProgramFile))) return folder;
  }
  return {};
}

}  // namespace plenvox
