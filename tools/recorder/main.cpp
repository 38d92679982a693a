// Appends the command line it was started with, exactly as the starter passed it, to
// "<own name>.log" beside itself, and exits: once as the A function gives it ("cmdline",
// ANSI bytes) and once as the W function gives it ("cmdlinew", in UTF-8). A copy named
// settings.exe logs to settings.log, one named editor.exe to editor.log.
#include <windows.h>

#include "EscapedText.h"
#include "LogBesideModule.h"
#include "WideText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace plenvox::e2e;
  const std::string log = ModuleFolder() + ModuleBaseName() + ".log";
  AppendLine(log, "cmdline\t" + EscapedText(::GetCommandLineA()));
  AppendLine(log, "cmdlinew\t" + EscapedText(Utf8OfWide(::GetCommandLineW())));
  return 0;
}
