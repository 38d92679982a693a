#include "player/WindowedHost.h"

#include "common/Path.h"
#include "common/Text.h"

namespace plenvox {

WindowHandle WindowedHost::Window() { return os_.FindWindow(kHostWindowClass); }

void WindowedHost::ShowMessage(const std::string& text, const std::string& caption) {
  os_.MessageBox(Window(), text, caption, kMessageBoxInformation);
}

std::optional<std::string> WindowedHost::ChooseFolder(const std::string& title) {
  return os_.BrowseForFolder(Window(), title);
}

bool WindowedHost::TakesRenamedTarget() const {
  return LowerAscii(NameOf(os_.ProgramFileName())) != kDoubleCommanderProgram;
}

void WindowedHost::Refresh() {
  const WindowHandle host = Window();
  if (host != 0) os_.PostMessage(host, kHostRefreshMessage, kHostRefreshWParam, 0);
}

}  // namespace plenvox
