// plenvox-info FILE...            a readable summary of each file
// plenvox-info --json FILE...     one JSON object per file and line
// plenvox-info --columns FILE...  the plug-in's content columns of each file
//
// Runs the plug-in's MPEG audio analyser (and so both tag readers) and the description
// of every format on each file and prints what they found. A file that does not load is still reported; the exit code is
// 0 when every file was processed and 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "ColumnsReport.h"
#include "audio/DescribeAudio.h"
#include "InfoReport.h"
#include "SystemPlatform.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

int Usage() {
  std::fputs("usage: plenvox-info [--json | --columns] FILE...\n", stderr);
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  bool columns = false;
  std::vector<std::string> files;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (options && std::strcmp(arg, "--") == 0) {
      options = false;
    } else if (options && std::strcmp(arg, "--json") == 0) {
      json = true;
    } else if (options && std::strcmp(arg, "--columns") == 0) {
      columns = true;
    } else if (options && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
      std::fputs("usage: plenvox-info [--json | --columns] FILE...\n", stdout);
      return 0;
    } else if (options && arg[0] == '-' && arg[1] != '\0') {
      std::fprintf(stderr, "plenvox-info: unknown option %s\n", arg);
      return Usage();
    } else {
      files.emplace_back(arg);
    }
  }
  if (files.empty()) return Usage();

  try {
    const auto os = plenvox::info::MakeSystemPlatform();
    plenvox::TMPEGaudio audio(*os);
    for (std::size_t i = 0; i < files.size(); ++i) {
      const bool loaded = audio.LoadFromFile(files[i]);
      const plenvox::TAudioDescription description = plenvox::DescribeAudioFile(
          *os, os->TextEncoding(), files[i], plenvox::TCodePageTagText(*os, 0));
      if (columns) {
        std::string text = (i > 0 ? "\n" : "") + plenvox::info::ColumnsReport(*os, files[i], description);
        std::fwrite(text.data(), 1, text.size(), stdout);
      } else if (json) {
        std::string line = plenvox::info::JsonReport(files[i], loaded, audio, description) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
      } else {
        std::string text = (i > 0 ? "\n" : "") + plenvox::info::TextReport(files[i], loaded, audio, description);
        std::fwrite(text.data(), 1, text.size(), stdout);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "plenvox-info: %s\n", e.what());
    return kFailure;
  }
  return std::fflush(stdout) == 0 ? 0 : kFailure;
}
