// wfxhost: plays the file manager towards a file-system plug-in. It creates the host's
// window, loads the plug-in, runs a script of plug-in calls and prints one line per
// result or event. Usage and formats: README.md beside this file.
//
//   wfxhost [--env NAME=VALUE]... [--cwd FOLDER] [--script FILE] PLUGIN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "EscapedText.h"
#include "HostWindow.h"
#include "Interpreter.h"
#include "Output.h"
#include "PluginLibrary.h"
#include "ScriptLine.h"

namespace {

using namespace plenvox::e2e;

constexpr int kExitScriptError = 2;
constexpr int kExitCrash = 3;
constexpr int kExitSetup = 4;

struct Options {
  std::string Plugin;
  std::string Script;  // empty: standard input
};

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD* record = exception ? exception->ExceptionRecord : nullptr;
  PrintLine({"crash", record ? Hex(record->ExceptionCode, 8) : "unknown",
             record ? Hex(reinterpret_cast<std::uintptr_t>(record->ExceptionAddress), 8) : ""});
  ::ExitProcess(kExitCrash);
}

// Applies --env and --cwd at once (before the plug-in is loaded, which reads its
// environment at load) and returns the rest.
bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--env" || arg == "--cwd" || arg == "--script") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (arg == "--script") {
        options.Script = value;
      } else if (arg == "--cwd") {
        if (!::SetCurrentDirectoryA(value.c_str())) return false;
      } else {
        const auto equals = value.find('=');
        if (equals == std::string::npos) return false;
        ::SetEnvironmentVariableA(value.substr(0, equals).c_str(), value.substr(equals + 1).c_str());
      }
    } else if (options.Plugin.empty() && arg.rfind("--", 0) != 0) {
      options.Plugin = arg;
    } else {
      return false;
    }
  }
  return !options.Plugin.empty();
}

int RunScript(std::istream& script, Interpreter& interpreter) {
  std::string line;
  while (std::getline(script, line)) {
    if (!interpreter.Run(SplitScriptLine(line))) return kExitScriptError;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ::SetUnhandledExceptionFilter(&ReportCrash);
  _setmode(_fileno(stdout), _O_BINARY);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: wfxhost [--env NAME=VALUE]... [--cwd FOLDER] [--script FILE] PLUGIN\n");
    return kExitSetup;
  }
  HostWindow host;
  if (!host.Create(::GetModuleHandleA(nullptr))) {
    PrintLine({"error", "cannot create the host window"});
    return kExitSetup;
  }
  PluginLibrary plugin;
  if (!plugin.Load(options.Plugin)) return kExitSetup;

  Interpreter interpreter(plugin, host.Handle());
  int status = 0;
  if (options.Script.empty()) {
    status = RunScript(std::cin, interpreter);
  } else {
    std::ifstream file(options.Script, std::ios::binary);
    if (!file) {
      PrintLine({"error", "cannot read the script " + EscapedText(options.Script)});
      return kExitSetup;
    }
    status = RunScript(file, interpreter);
  }
  plugin.Unload();
  PrintLine({"end", std::to_string(status)});
  return status;
}
