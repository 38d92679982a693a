#include "settings/SettingsSave.h"

#include "common/FileNames.h"
#include "common/Path.h"

#include "config/Settings.h"
#include "settings/SettingsEdit.h"
#include "settings/WholeFile.h"

namespace plenvox {

namespace {

// The INI reader also takes UTF-16 files, which a merge of single-byte lines would ruin.
bool IsUtf16(const std::string& text) {
  return text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                              (text[0] == '\xFE' && text[1] == '\xFF'));
}

std::string Failure(Platform& os, const std::string& what, std::uint32_t code) {
  return what + ": " + os.DescribeError(code) + " (error " + std::to_string(code) + ")";
}

// A new file starts with every key at its default, so that a user who opens it sees
// what there is to set (the extension filter: every format the folder reads); the
// assignments then replace the defaults they name.
std::vector<IniAssignment> WithDefaults(const std::vector<IniAssignment>& assignments) {
  std::vector<IniAssignment> all;
  for (const auto& key : kSettingKeys) {
    const bool filter = std::string_view(key.Key) == ini::kExtFilter.Key;
    all.push_back({key.Section, key.Key, filter ? kProposedExtFilter : key.Default});
  }
  all.insert(all.end(), assignments.begin(), assignments.end());
  return all;
}

}  // namespace

SettingsLocation LocateSettings(Platform& os) {
  const std::string registered = ReadIniFileName(os);
  if (!registered.empty()) return {registered, true};
  const auto appData = os.GetEnv("APPDATA");
  if (appData && !appData->empty()) {
    return {JoinPath(JoinPath(WithoutTrailingSeparator(*appData), kSettingsFolderName), kSettingsFile),
            false};
  }
  return {FolderOf(os.ModuleFileName()) + std::string(kSettingsFile), false};
}

bool SaveSettings(Platform& os, const SettingsLocation& location,
                  const std::vector<IniAssignment>& assignments, std::string& message) {
  const std::string& path = location.IniPath;
  std::string text;
  std::uint32_t error = 0;
  const ReadOutcome read = ReadWholeFile(os, path, text, error);
  if (read == ReadOutcome::Failed) {
    message = Failure(os, "Cannot read " + path, error);
    return false;
  }
  if (IsUtf16(text)) {
    message = path + " is a UTF-16 file; the settings program writes only single-byte files. "
              "Save it in the ANSI code page, or remove it, and save again.";
    return false;
  }
  const std::string folder = FolderOf(path);
  if (read == ReadOutcome::Missing && !folder.empty() &&
      !os.CreateFolders(WithoutTrailingSeparator(folder), error)) {
    message = Failure(os, "Cannot create the folder " + folder, error);
    return false;
  }
  const auto& merged = read == ReadOutcome::Missing ? WithDefaults(assignments) : assignments;
  if (!WriteFileAtomically(os, path, ApplyIniAssignments(text, merged), error)) {
    message = Failure(os, "Cannot write " + path, error);
    return false;
  }
  if (!location.Registered && !os.WriteUserRegistryString(kRegistryKey, kRegistryValueName, path, error)) {
    message = Failure(os, "Saved " + path + ", but cannot name it in the registry", error);
    return false;
  }
  return true;
}

}  // namespace plenvox
