// plenvox-bench [--repeat N] [--details] FOLDER
//
// Play-time analysis of every file in FOLDER, in files per second, by the plug-in's MPEG
// analyser (construct, LoadFromFile, PlayTime, destroy: what the listing does per entry)
// and by TagLib (FileRef(path).audioProperties()->lengthInMilliseconds()) in the same
// run, on the same files, with a warm cache, next to an I/O floor: one open and three
// block reads per file (its start, middle and end) through the same platform seam, the
// least that any reader of the two tags and the audio between them can do. Each makes
// N timed passes (default 5) after one untimed pass, in turn; the best pass counts.
// --details adds one line per distinct file (copies named NNNNN_name count as name)
// with both readers' play times.
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "audio/MPEGaudio.h"
#include "platform/posix/PosixPlatform.h"

namespace {

using plenvox::bench::FilesIn;
using plenvox::bench::WarmCache;

using Clock = std::chrono::steady_clock;

struct Options {
  int repeat = 5;
  bool details = false;
  std::string folder;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      options.repeat = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--details") == 0) {
      options.details = true;
    } else if (argv[i][0] != '-' && options.folder.empty()) {
      options.folder = argv[i];
    } else {
      return false;
    }
  }
  return !options.folder.empty() && options.repeat > 0;
}

double PlenvoxSeconds(plenvox::Platform& os, const std::string& file) {
  plenvox::TMPEGaudio audio(os);
  audio.LoadFromFile(file);
  return audio.PlayTime();
}

// One open and three reads of the analyser's block size: at the start, in the middle and
// at the end of the file.
double IoFloor(plenvox::Platform& os, const std::string& file) {
  constexpr std::size_t kBlock = 8192;
  static std::vector<char> buffer(kBlock);
  std::uint32_t error = 0;
  auto handle = os.OpenRead(file, error);
  if (!handle) return 0.0;
  std::int64_t size = 0;
  handle->Size(size);
  const auto block = static_cast<std::int64_t>(kBlock);
  std::size_t got = 0;
  for (const std::int64_t at : {std::int64_t{0}, size / 2, std::max<std::int64_t>(0, size - block)}) {
    if (handle->Seek(at)) handle->Read(buffer.data(), buffer.size(), got);
  }
  handle->Close();
  return static_cast<double>(got);
}

double TagLibSeconds(const std::string& file) {
  TagLib::FileRef ref(file.c_str());
  const TagLib::AudioProperties* properties = ref.isNull() ? nullptr : ref.audioProperties();
  return properties ? properties->lengthInMilliseconds() / 1000.0 : 0.0;
}

// One pass of a reader over all files: the seconds it took, and each file's play time.
template <typename Reader>
double TimedPass(const std::vector<std::string>& files, Reader&& reader,
                 std::vector<double>& playTimes) {
  const auto start = Clock::now();
  for (std::size_t i = 0; i < files.size(); ++i) playTimes[i] = reader(files[i]);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string DistinctName(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  const std::size_t underscore = name.find('_');
  if (underscore != std::string::npos && underscore > 0 &&
      name.find_first_not_of("0123456789") == underscore) {
    name.erase(0, underscore + 1);
  }
  return name;
}

void PrintDetails(const std::vector<std::string>& files, const std::vector<double>& plenvox,
                  const std::vector<double>& taglib) {
  std::map<std::string, std::pair<double, double>> byName;
  for (std::size_t i = 0; i < files.size(); ++i) {
    byName.emplace(DistinctName(files[i]), std::make_pair(plenvox[i], taglib[i]));
  }
  std::printf("\n%-40s %12s %12s\n", "file", "Plenvox s", "TagLib s");
  for (const auto& [name, times] : byName) {
    std::printf("%-40s %12.3f %12.3f\n", name.c_str(), times.first, times.second);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: plenvox-bench [--repeat N] [--details] FOLDER\n", stderr);
    return 2;
  }
  const std::vector<std::string> files = FilesIn(options.folder);
  if (files.empty()) {
    std::fprintf(stderr, "plenvox-bench: no files in %s\n", options.folder.c_str());
    return 1;
  }
  plenvox::PosixPlatform os;
  auto plenvoxReader = [&os](const std::string& file) { return PlenvoxSeconds(os, file); };
  auto floorReader = [&os](const std::string& file) { return IoFloor(os, file); };
  std::vector<double> plenvoxTimes(files.size());
  std::vector<double> taglibTimes(files.size());
  std::vector<double> floorBytes(files.size());

  WarmCache(files);
  TimedPass(files, plenvoxReader, plenvoxTimes);
  TimedPass(files, TagLibSeconds, taglibTimes);
  TimedPass(files, floorReader, floorBytes);

  double plenvoxBest = HUGE_VAL;
  double taglibBest = HUGE_VAL;
  double floorBest = HUGE_VAL;
  for (int r = 0; r < options.repeat; ++r) {
    plenvoxBest = std::min(plenvoxBest, TimedPass(files, plenvoxReader, plenvoxTimes));
    taglibBest = std::min(taglibBest, TimedPass(files, TagLibSeconds, taglibTimes));
    floorBest = std::min(floorBest, TimedPass(files, floorReader, floorBytes));
  }

  std::size_t sameSecond = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (std::trunc(plenvoxTimes[i]) == std::trunc(taglibTimes[i])) ++sameSecond;
  }
  const double n = static_cast<double>(files.size());
  std::printf("files:    %zu (best of %d passes each, warm cache)\n", files.size(),
              options.repeat);
  std::printf("Plenvox:  %10.0f files/s  (%.3f s)\n", n / plenvoxBest, plenvoxBest);
  std::printf("TagLib:   %10.0f files/s  (%.3f s)\n", n / taglibBest, taglibBest);
  std::printf("I/O floor:%10.0f files/s  (%.3f s; one open, three block reads)\n", n / floorBest,
              floorBest);
  std::printf("ratio:    %10.2f (Plenvox files/s / TagLib files/s)\n", taglibBest / plenvoxBest);
  std::printf("floor:    %10.2f (Plenvox time per file / I/O floor time per file)\n",
              plenvoxBest / floorBest);
  std::printf("agree:    %zu of %zu files to the whole second\n", sameSecond, files.size());
  if (options.details) PrintDetails(files, plenvoxTimes, taglibTimes);
  return 0;
}
