// plenvox-copyout-bench [--megabytes M] [--repeat R] FOLDER
//
// Copying a playlist's files out through the plug-in's front end (FsGetFile, over the
// POSIX platform, with a progress callback that counts its calls) next to a plain copy of
// the same files (std::filesystem::copy_file, the system's own copy), in one run. The
// playlist's entries are hard links to the files of FOLDER, in turn, until they add up to
// M megabytes (default 1024). The sources are read once first, so that both copies find
// them in the page cache; then each pass copies every entry into an empty folder, the two
// ways alternating (each first in every other round), every pass's copies written to the disk (sync) and removed before the
// next pass, untimed. Prints the best pass of R (default 3) of each, their ratio, and the
// progress calls per file.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchEdition.h"
#include "plugin/HostInterface.h"

namespace {

namespace fs = std::filesystem;
using plenvox::bench::BenchEdition;
using plenvox::bench::Seconds;

struct Options {
  long megabytes = 1024;
  long repeat = 3;
  std::string folder;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  return plenvox::bench::ParseArguments(
             argc, argv, {{"--megabytes", &options.megabytes}, {"--repeat", &options.repeat}},
             options.folder) &&
         options.megabytes > 0 && options.repeat > 0;
}

std::uint64_t g_progressCalls = 0;

int PLENVOX_WFX_CALL CountProgress(int, char*, char*, int) {
  ++g_progressCalls;
  return 0;
}

struct Workspace {
  explicit Workspace(const Options& options) {
    char pattern[] = "/tmp/plenvox-copyout-bench-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("cannot make a work folder");
    folder = pattern;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(options.folder)) {
      if (entry.is_regular_file() && entry.file_size() > 0) sources.push_back(entry.path());
    }
    if (sources.empty()) throw std::runtime_error("no files in " + options.folder);
    std::sort(sources.begin(), sources.end());
    fs::create_directory(folder + "/music");
    const std::uintmax_t wanted = static_cast<std::uintmax_t>(options.megabytes) * 1024 * 1024;
    for (std::size_t i = 0; bytes < wanted; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/music/%05zu.mp3", i);
      const fs::path& source = sources[i % sources.size()];
      fs::create_hard_link(source, folder + name);
      entries.push_back(folder + name);
      bytes += fs::file_size(source);
    }
    std::ofstream(folder + "/plenvox.ini", std::ios::trunc)
        << "[Path]\nWinampFolder=" << folder << "/\n[Mode]\nDisplayMode=0\n";
    ::setenv("PLENVOX_INI_FILE", (folder + "/plenvox.ini").c_str(), 1);
    ::setenv("TEMP", (folder + "/").c_str(), 1);
  }
  ~Workspace() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  // An empty target folder, the last pass's copies written out and removed first.
  std::string FreshTarget() const {
    const std::string target = folder + "/out/";
    std::error_code ignored;
    fs::remove_all(target, ignored);
    ::sync();
    fs::create_directory(target);
    return target;
  }
  static std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

  std::string folder;
  std::vector<std::string> entries;
  std::uintmax_t bytes = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: plenvox-copyout-bench [--megabytes M] [--repeat R] FOLDER\n");
    return 2;
  }
  try {
    const Workspace work(options);
    BenchEdition edition(work.folder);
    edition.player.entries = work.entries;
    edition.plugin.KeepProgress(0, &CountProgress);
    edition.plugin.FsInit();
    for (const auto& entry : work.entries) std::ifstream(entry, std::ios::binary).ignore(1 << 30);

    double plugin = HUGE_VAL;
    double plain = HUGE_VAL;
    std::uint64_t calls = 0;
    const auto plainPass = [&] {
      const std::string target = work.FreshTarget();
      plain = std::min(plain, Seconds([&] {
        for (const auto& entry : work.entries) fs::copy_file(entry, target + Workspace::NameOf(entry));
      }));
    };
    const auto pluginPass = [&] {
      const std::string target = work.FreshTarget();
      g_progressCalls = 0;
      plugin = std::min(plugin, Seconds([&] {
        edition.plugin.FsStatusInfo(plenvox::wfx::kStatusStart, plenvox::wfx::kOpGetMulti);
        for (const auto& entry : work.entries) {
          std::string local = target + Workspace::NameOf(entry);
          if (edition.plugin.FsGetFile("\\" + entry, local, 0) != plenvox::wfx::kFileOk) {
            throw std::runtime_error("FsGetFile failed on " + entry);
          }
        }
        edition.plugin.FsStatusInfo(plenvox::wfx::kStatusEnd, plenvox::wfx::kOpGetMulti);
      }));
      calls = g_progressCalls;
    };
    // Each way goes first in every other pass.
    for (long r = 0; r < options.repeat; ++r) {
      if (r % 2 == 0) {
        plainPass();
        pluginPass();
      } else {
        pluginPass();
        plainPass();
      }
    }
    work.FreshTarget();
    const double megabytes = static_cast<double>(work.bytes) / (1024.0 * 1024.0);
    std::printf("files:    %zu, %.0f MB (best of %ld passes each, warm cache, copies synced between passes)\n",
                work.entries.size(), megabytes, options.repeat);
    std::printf("plain:    %.3f s  (%.0f MB/s, std::filesystem::copy_file)\n", plain, megabytes / plain);
    std::printf("plug-in:  %.3f s  (%.0f MB/s, FsGetFile)\n", plugin, megabytes / plugin);
    std::printf("ratio:    %.2f (plug-in time / plain time)\n", plugin / plain);
    std::printf("progress: %.1f calls per file (%llu in all)\n",
                static_cast<double>(calls) / static_cast<double>(work.entries.size()),
                static_cast<unsigned long long>(calls));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "plenvox-copyout-bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
