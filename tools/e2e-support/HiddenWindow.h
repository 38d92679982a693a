// A hidden top-level window of a class of its own, as the stand-in programs need one for
// others to find by class name (FindWindowA) and to send messages to.
#pragma once

#include <windows.h>

namespace plenvox::e2e {

// Registers className with procedure and creates the window, handing creationData to
// WM_NCCREATE/WM_CREATE; nullptr when either fails.
HWND CreateHiddenWindow(HINSTANCE instance, const char* className, const char* title,
                        WNDPROC procedure, void* creationData = nullptr);

}  // namespace plenvox::e2e
