// plenvox-frontend-bench [--entries N] [--deletes K] [--repeat R] FOLDER
//
// The plug-in's front end over the POSIX platform on a playlist of N entries (default
// 10000), each a hard link of its own to one of the files in FOLDER (in turn), with a
// warm page cache. Prints, from one run (best of R passes, default 5):
//   - plain reading of the playlist's lines (std::getline) and the mode-0 listing;
//   - the mode-1 listing, the first mode-2 listing, and the mode-2 listing again after
//     a one-file add (as the host lists after every edit);
//   - a delete batch of K entries (default 1000), the plug-in's share of it (the
//     player's own work left out), next to one reading of the playlist;
//   - opens, reads and file look-ups per entry, counted through the platform seam.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchEdition.h"
#include "playlist/PlaylistFile.h"
#include "plugin/ContentFields.h"
#include "plugin/HostInterface.h"

namespace {

namespace fs = std::filesystem;
using plenvox::bench::BenchEdition;

struct Options {
  int entries = 10000;
  int deletes = 1000;
  int repeat = 5;
  std::string folder;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  long entries = options.entries, deletes = options.deletes, repeat = options.repeat;
  if (!plenvox::bench::ParseArguments(
          argc, argv, {{"--entries", &entries}, {"--deletes", &deletes}, {"--repeat", &repeat}},
          options.folder) ||
      entries <= 0 || entries > 10000000 || repeat <= 0 || repeat > 1000 || deletes < 0 ||
      deletes > entries) {
    return false;
  }
  options.entries = static_cast<int>(entries);
  options.deletes = static_cast<int>(deletes);
  options.repeat = static_cast<int>(repeat);
  return true;
}

using plenvox::bench::Seconds;

double Best(int repeat, const std::function<double()>& pass) {
  double best = HUGE_VAL;
  for (int r = 0; r < repeat; ++r) best = std::min(best, pass());
  return best;
}

// The work folder: the settings, the player's folder and TEMP, and the linked files.
struct Workspace {
  explicit Workspace(const Options& options) {
    char pattern[] = "/tmp/plenvox-frontend-bench-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("cannot make a work folder");
    folder = pattern;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(options.folder)) {
      if (entry.is_regular_file()) sources.push_back(entry.path());
    }
    if (sources.empty()) throw std::runtime_error("no files in " + options.folder);
    std::sort(sources.begin(), sources.end());
    fs::create_directory(folder + "/music");
    for (int i = 0; i < options.entries; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/music/%05d.mp3", i);
      fs::create_hard_link(sources[static_cast<std::size_t>(i) % sources.size()], folder + name);
      entries.push_back(folder + name);
    }
    extra = folder + "/music/extra.mp3";
    fs::create_hard_link(sources.front(), extra);
    ::setenv("PLENVOX_INI_FILE", (folder + "/plenvox.ini").c_str(), 1);
    ::setenv("TEMP", (folder + "/").c_str(), 1);
  }
  ~Workspace() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  void Configure(int displayMode) const {
    std::ofstream(folder + "/plenvox.ini", std::ios::trunc)
        << "[Path]\nWinampFolder=" << folder << "/\n[Mode]\nDisplayMode=" << displayMode
        << "\nDisableMulti=0\n";
  }

  std::string folder;
  std::vector<std::string> entries;
  std::string extra;
};

std::size_t List(BenchEdition& edition) {
  plenvox::TFindData record{};
  std::size_t items = 0;
  if (edition.plugin.FsFindFirst("\\", record) == plenvox::wfx::kSearchHandle) {
    for (items = 1; edition.plugin.FsFindNext(record); ++items) {
    }
  }
  edition.plugin.FsFindClose();
  return items;
}

// A listing as the host makes one: announced (the player writes its playlist, which is
// not timed), then listed.
double TimedListing(BenchEdition& edition, std::size_t expected) {
  edition.plugin.FsStatusInfo(plenvox::wfx::kStatusStart, plenvox::wfx::kOpList);
  std::size_t items = 0;
  const double seconds = Seconds([&] { items = List(edition); });
  edition.plugin.FsStatusInfo(plenvox::wfx::kStatusEnd, plenvox::wfx::kOpList);
  if (items != expected) throw std::runtime_error("the listing gave " + std::to_string(items) + " items");
  return seconds;
}

std::unique_ptr<BenchEdition> Edition(const Workspace& work, int displayMode) {
  work.Configure(displayMode);
  auto edition = std::make_unique<BenchEdition>(work.folder);
  edition->player.entries = work.entries;
  edition->plugin.FsInit();
  return edition;
}

// One reading of the whole playlist by the plug-in's own reader, as one lookup of a name
// that it does not hold made it before a batch's lookups shared one reading.
double OneLookupReading(plenvox::Platform& os, const std::string& path) {
  plenvox::PlaylistFile file(os);
  file.Bind(path);
  const auto number = plenvox::FindEntry(file, "no such entry");
  file.Close();
  return number;
}

double PlainLineReading(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::size_t lines = 0;
  while (std::getline(in, line)) ++lines;
  return static_cast<double>(lines);
}

struct Counts {
  double opens, reads, lookups;
};

Counts PerEntry(const plenvox::bench::CountingPlatform& os, std::size_t entries) {
  const auto n = static_cast<double>(entries);
  return {static_cast<double>(os.opens) / n, static_cast<double>(os.reads) / n,
          static_cast<double>(os.lookups) / n};
}

void ResetCounts(plenvox::bench::CountingPlatform& os) { os.opens = os.reads = os.lookups = 0; }

// Every column of every entry, as the host fills them: each field asked with
// CONTENT_DELAYIFSLOW, and a field put off asked again without it (as the host's
// background thread does). Answers how many were put off.
std::size_t FillColumns(BenchEdition& edition, const std::vector<std::string>& names) {
  std::size_t delayed = 0;
  char value[1024];
  plenvox::Columns& columns = edition.plugin.Content();
  for (const std::string& name : names) {
    for (int field = 0; field < plenvox::kFieldCount; ++field) {
      if (columns.GetValue(name, field, 0, value, sizeof value, plenvox::wfx::kContentDelayIfSlow) ==
          plenvox::wfx::kFtDelayed) {
        ++delayed;
        columns.GetValue(name, field, 0, value, sizeof value, 0);
      }
    }
  }
  return delayed;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: plenvox-frontend-bench [--entries N] [--deletes K] [--repeat R] FOLDER\n", stderr);
    return 2;
  }
  try {
    const Workspace work(options);
    const std::size_t n = work.entries.size();
    const std::string playlist = work.folder + "/winamp.m3u";

    auto mode0 = Edition(work, 0);
    TimedListing(*mode0, n);  // warms the page cache for every file and the playlist
    const double lines = Best(options.repeat, [&] { return Seconds([&] { PlainLineReading(playlist); }); });
    plenvox::PosixPlatform os;
    const double reading = Best(options.repeat, [&] { return Seconds([&] { OneLookupReading(os, playlist); }); });
    const double listing0 = Best(options.repeat, [&] { return TimedListing(*mode0, n); });
    auto mode1 = Edition(work, 1);
    const double listing1 = Best(options.repeat, [&] { return TimedListing(*mode1, n); });

    // Mode 2, first listing: every file analysed; a new plug-in each pass.
    Counts first{};
    const double listing2 = Best(options.repeat, [&] {
      auto edition = Edition(work, 2);
      ResetCounts(edition->os);
      const double seconds = TimedListing(*edition, n);
      first = PerEntry(edition->os, n);
      return seconds;
    });
    // Again after a one-file add, as the host lists after every edit.
    auto mode2 = Edition(work, 2);
    TimedListing(*mode2, n);
    Counts again{};
    int added = 0;
    const double relisting = Best(options.repeat, [&] {
      mode2->plugin.FsPutFile(work.extra);  // a one-file copy: a batch of its own
      ++added;
      ResetCounts(mode2->os);
      const double seconds = TimedListing(*mode2, n + static_cast<std::size_t>(added));
      again = PerEntry(mode2->os, n + static_cast<std::size_t>(added));
      return seconds;
    });

    // A delete batch of K entries spread over the playlist.
    const double batch = Best(options.repeat, [&] {
      auto edition = Edition(work, 0);
      const int step = options.deletes > 0 ? options.entries / options.deletes : 1;
      edition->player.seconds = 0;
      return Seconds([&] {
        edition->plugin.FsStatusInfo(plenvox::wfx::kStatusStart, plenvox::wfx::kOpDelete);
        for (int d = 0; d < options.deletes; ++d) {
          edition->plugin.FsDeleteFile("\\" + work.entries[static_cast<std::size_t>(d * step)]);
        }
        edition->plugin.FsStatusInfo(plenvox::wfx::kStatusEnd, plenvox::wfx::kOpDelete);
      }) - edition->player.seconds;
    });

    // The content columns: every field of every entry. First on a plug-in that listed in
    // mode 0 (nothing analysed yet: each file looked up and analysed once, on the host's
    // background thread), against the first mode 2 listing; then after a mode 2 listing
    // (every value answered at once, the entries read from the playlist file by the first),
    // against a mode 2 listing of unchanged files.
    std::vector<std::string> names;
    for (const std::string& entry : work.entries) names.push_back("\\" + entry);
    std::size_t delayedFirst = 0;
    const double columnsFirst = Best(options.repeat, [&] {
      auto edition = Edition(work, 0);
      TimedListing(*edition, n);
      return Seconds([&] { delayedFirst = FillColumns(*edition, names); });
    });
    work.Configure(2);
    TimedListing(*mode2, n + static_cast<std::size_t>(added));
    const double listed2 = Best(options.repeat, [&] { return TimedListing(*mode2, n + static_cast<std::size_t>(added)); });
    std::size_t delayedAfter = 0;
    // Each pass after a listing of its own, so that it reads the entries it shows.
    const double columnsAfter = Best(options.repeat, [&] {
      TimedListing(*mode2, n + static_cast<std::size_t>(added));
      return Seconds([&] { delayedAfter = FillColumns(*mode2, names); });
    });

    std::printf("playlist: %zu entries over %s (best of %d passes, warm cache)\n", n,
                options.folder.c_str(), options.repeat);
    std::printf("line reading:        %8.2f ms\n", lines * 1e3);
    std::printf("mode 0 listing:      %8.2f ms  %5.2f x line reading\n", listing0 * 1e3, listing0 / lines);
    std::printf("mode 1 listing:      %8.2f ms\n", listing1 * 1e3);
    std::printf("mode 2, first:       %8.2f ms  %5.2f x mode 1   per entry: %.2f opens, %.2f reads, %.2f look-ups\n",
                listing2 * 1e3, listing2 / listing1, first.opens, first.reads, first.lookups);
    std::printf("mode 2 after an add: %8.2f ms  %5.2f x mode 1   per entry: %.2f opens, %.2f reads, %.2f look-ups\n",
                relisting * 1e3, relisting / listing1, again.opens, again.reads, again.lookups);
    std::printf("one reading:         %8.2f ms  (one lookup through the whole playlist)\n", reading * 1e3);
    std::printf("delete batch of %d:  %8.2f ms  %5.2f x one reading, %5.2f x line reading (the plug-in's share)\n",
                options.deletes, batch * 1e3, batch / reading, batch / lines);
    std::printf("columns, first:      %8.2f ms  %5.2f x mode 2 first   (%d fields, %zu put off)\n",
                columnsFirst * 1e3, columnsFirst / listing2, plenvox::kFieldCount, delayedFirst);
    std::printf("columns after mode 2:%8.2f ms  %5.2f x mode 2 listing (%.2f ms; %zu put off)\n",
                columnsAfter * 1e3, columnsAfter / listed2, listed2 * 1e3, delayedAfter);
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "plenvox-frontend-bench: %s\n", failure.what());
    return 1;
  }
}
