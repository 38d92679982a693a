// plenvox-format-bench [--repeat N] FOLDER...
//
// The description of every file of each FOLDER (one format each, as make_format_corpus.sh
// makes them), in files per second, by the plug-in's readers (DescribeAudioFile: the one
// open, the reads, play time, audio properties and tags, what the listing and the columns
// do per file) and by TagLib (FileRef with its audio properties and its tag's title) in
// the same run, on the same files, with a warm cache. Each makes N timed passes (default
// 5) after one untimed pass, in turn; the best pass counts. Opens and reads per file are
// counted through the platform seam; "time" counts the files on which both give the same
// play time to the whole second, "title" those with the same title.
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchEdition.h"
#include "BenchFiles.h"
#include "audio/DescribeAudio.h"

namespace {

using plenvox::bench::FilesIn;
using plenvox::bench::WarmCache;

using Clock = std::chrono::steady_clock;

struct Result {
  double Seconds = 0;
  std::string Title;
};

template <typename Reader>
double TimedPass(const std::vector<std::string>& files, Reader&& reader, std::vector<Result>& results) {
  const auto start = Clock::now();
  for (std::size_t i = 0; i < files.size(); ++i) results[i] = reader(files[i]);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

Result TagLibResult(const std::string& file) {
  TagLib::FileRef ref(file.c_str());
  Result result;
  if (ref.isNull()) return result;
  if (const TagLib::AudioProperties* properties = ref.audioProperties()) {
    result.Seconds = properties->lengthInMilliseconds() / 1000.0;
  }
  if (const TagLib::Tag* tag = ref.tag()) result.Title = tag->title().to8Bit(true);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 5;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::atoi(argv[++i]);
    } else {
      folders.emplace_back(argv[i]);
    }
  }
  if (folders.empty() || repeat <= 0) {
    std::fputs("usage: plenvox-format-bench [--repeat N] FOLDER...\n", stderr);
    return 2;
  }
  plenvox::bench::CountingPlatform os;
  const plenvox::TCodePageTagText text(os, 0);  // as the plug-in reads 8-bit texts
  auto plenvoxReader = [&](const std::string& file) {
    const plenvox::TAudioDescription d =
        plenvox::DescribeAudioFile(os, plenvox::TTextEncoding::Utf8, file, text);
    return Result{d.PlayTime, d.Tags.Title};
  };
  std::printf("%-10s %6s %12s %12s %7s %7s %7s %6s %6s  (best of %d passes, warm cache)\n", "folder",
              "files", "Plenvox f/s", "TagLib f/s", "ratio", "opens", "reads", "time", "title", repeat);
  for (const std::string& folder : folders) {
    const std::vector<std::string> files = FilesIn(folder);
    if (files.empty()) continue;
    std::vector<Result> ours(files.size()), theirs(files.size());
    WarmCache(files);
    os.opens = os.reads = 0;
    TimedPass(files, plenvoxReader, ours);
    const double opens = static_cast<double>(os.opens) / static_cast<double>(files.size());
    const double reads = static_cast<double>(os.reads) / static_cast<double>(files.size());
    TimedPass(files, TagLibResult, theirs);
    double oursBest = HUGE_VAL, theirsBest = HUGE_VAL;
    for (int r = 0; r < repeat; ++r) {
      oursBest = std::min(oursBest, TimedPass(files, plenvoxReader, ours));
      theirsBest = std::min(theirsBest, TimedPass(files, TagLibResult, theirs));
    }
    std::size_t sameTime = 0, sameTitle = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (std::trunc(ours[i].Seconds) == std::trunc(theirs[i].Seconds)) ++sameTime;
      if (ours[i].Title == theirs[i].Title) ++sameTitle;
    }
    const double n = static_cast<double>(files.size());
    std::printf("%-10s %6zu %12.0f %12.0f %7.2f %7.2f %7.2f %6zu %6zu\n",
                std::filesystem::path(folder).filename().c_str(), files.size(), n / oursBest,
                n / theirsBest, theirsBest / oursBest, opens, reads, sameTime, sameTitle);
  }
  return 0;
}
