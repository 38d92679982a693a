#include "Console.h"

#include <windows.h>

namespace plenvox {

namespace {

HANDLE ParentConsole(DWORD which) {
  // Fails with ERROR_ACCESS_DENIED when this process is attached already.
  if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED) {
    return nullptr;
  }
  HANDLE console = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
  if (console == INVALID_HANDLE_VALUE) return nullptr;
  ::SetStdHandle(which, console);
  return console;
}

void Write(DWORD which, const std::string& text) {
  HANDLE handle = ::GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) handle = ParentConsole(which);
  if (handle == nullptr) return;
  DWORD written = 0;
  ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void WriteOut(const std::string& text) { Write(STD_OUTPUT_HANDLE, text); }
void WriteError(const std::string& text) { Write(STD_ERROR_HANDLE, text); }

}  // namespace plenvox
