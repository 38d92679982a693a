#include "HiddenWindow.h"

namespace plenvox::e2e {

HWND CreateHiddenWindow(HINSTANCE instance, const char* className, const char* title,
                        WNDPROC procedure, void* creationData) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  if (!::RegisterClassA(&windowClass)) return nullptr;
  return ::CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, creationData);
}

}  // namespace plenvox::e2e
