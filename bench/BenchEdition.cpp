#include "BenchEdition.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace plenvox::bench {

namespace {

class CountingFile : public File {
 public:
  CountingFile(std::unique_ptr<File> file, std::uint64_t& reads) : file_(std::move(file)), reads_(reads) {}
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    ++reads_;
    return file_->Read(buffer, size, got);
  }
  bool Write(const void* data, std::size_t size) override { return file_->Write(data, size); }
  bool Seek(std::int64_t offset) override { return file_->Seek(offset); }
  bool Size(std::int64_t& size) override { return file_->Size(size); }
  bool Close() override { return file_->Close(); }
  std::uint32_t Error() const override { return file_->Error(); }

 private:
  std::unique_ptr<File> file_;
  std::uint64_t& reads_;
};

}  // namespace

std::unique_ptr<File> CountingPlatform::OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                                 std::uint32_t& error) {
  ++opens;
  auto file = PosixPlatform::OpenRead(pathEncoding, path, error);
  return file ? std::make_unique<CountingFile>(std::move(file), reads) : nullptr;
}

bool CountingPlatform::FindFile(TTextEncoding pathEncoding, const std::string& path,
                                TFileRecord& record) {
  ++lookups;
  return PosixPlatform::FindFile(pathEncoding, path, record);
}

namespace {

// Adds the time of the enclosing scope to a total.
class Stopwatch {
 public:
  explicit Stopwatch(double& total) : total_(total), start_(std::chrono::steady_clock::now()) {}
  ~Stopwatch() { total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }

 private:
  double& total_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace

bool ParseArguments(int argc, char** argv, std::initializer_list<NumberOption> numbers,
                    std::string& folder) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const auto option = std::find_if(numbers.begin(), numbers.end(),
                                     [&](const NumberOption& o) { return word == o.Name; });
    if (option != numbers.end() && i + 1 < argc) {
      *option->Value = std::atol(argv[++i]);
    } else if (!word.empty() && word[0] != '-' && folder.empty()) {
      folder = word;
    } else {
      return false;
    }
  }
  return !folder.empty();
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::int32_t MemoryPlayer::WritePlaylist() {
  const Stopwatch watch(seconds);
  std::string text = "#EXTM3U\r\n";
  for (const auto& entry : entries) text += "#EXTINF:-1,title\r\n" + entry + "\r\n";
  std::ofstream(playlistPath_, std::ios::binary | std::ios::trunc) << text;
  return position;
}

std::int32_t MemoryPlayer::ClearPlaylist() {
  const Stopwatch watch(seconds);
  entries.clear();
  return 0;
}

std::int32_t MemoryPlayer::SetPlaylistPosition(std::int32_t entry) {
  position = entry;
  return 0;
}

void MemoryPlayer::AddToPlaylist(const std::string& path) {
  const Stopwatch watch(seconds);
  std::ifstream in(path, std::ios::binary);
  std::string line;
  for (bool header = true; std::getline(in, line); header = false) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!header && !line.empty() && line.rfind("#EXTINF:", 0) != 0) entries.push_back(line);
  }
}

BenchEdition::BenchEdition(const std::string& folder) : player(folder + "/winamp.m3u") {}

}  // namespace plenvox::bench
