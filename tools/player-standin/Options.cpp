#include "Options.h"

#include <windows.h>

#include <sstream>

namespace plenvox::e2e {

namespace {

constexpr wchar_t kSection[] = L"standin";

std::wstring Value(const std::wstring& ini, const wchar_t* key) {
  wchar_t buffer[1024] = {};
  const DWORD n = ::GetPrivateProfileStringW(kSection, key, L"", buffer, 1024, ini.c_str());
  return std::wstring(buffer, n);
}

}  // namespace

TStandinOptions LoadOptions(const std::wstring& folder) {
  const std::wstring ini = folder + L"standin.ini";
  TStandinOptions options;
  options.PlaylistFolder = Value(ini, L"PlaylistFolder");
  if (options.PlaylistFolder.empty()) options.PlaylistFolder = folder;
  if (options.PlaylistFolder.back() != L'\\') options.PlaylistFolder += L'\\';
  std::wistringstream answers(Value(ini, L"Answers"));
  for (std::wstring code; answers >> code;) {
    if (code == L"337") options.AnswersAnsiFolder = true;
    if (code == L"338") options.AnswersWideFolder = true;
  }
  options.Unicode = Value(ini, L"Unicode") == L"1";
  return options;
}

}  // namespace plenvox::e2e
