// Appends the command line it was started with, exactly as the starter passed it, to
// "<own name>.log" beside itself, and exits. A copy named settings.exe logs to
// settings.log, one named editor.exe to editor.log.
#include <windows.h>

#include "EscapedText.h"
#include "LogBesideModule.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace plenvox::e2e;
  AppendLine(ModuleFolder() + ModuleBaseName() + ".log",
             "cmdline\t" + EscapedText(::GetCommandLineA()));
  return 0;
}
