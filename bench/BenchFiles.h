// The files of a benchmark's folder, and reading them once so that every reader finds
// them in the page cache.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace plenvox::bench {

inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

inline void WarmCache(const std::vector<std::string>& files) {
  std::vector<char> buffer(1 << 16);
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    }
  }
}

}  // namespace plenvox::bench
