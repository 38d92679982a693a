// The real front end over the POSIX platform, as the benchmarks drive it: a player that
// keeps its playlist in memory and writes it to its playlist file when asked, a host
// that shows nothing, and a platform that counts the file operations of each entry.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/PosixPlatform.h"
#include "player/Host.h"
#include "player/Player.h"
#include "plugin/Plugin.h"
#include "plugin/PluginState.h"

namespace plenvox::bench {

// Counts opens, reads and file look-ups; everything else is the POSIX platform's.
class CountingPlatform : public PosixPlatform {
 public:
  std::unique_ptr<File> OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                 std::uint32_t& error) override;
  using Platform::OpenRead;
  bool FindFile(TTextEncoding pathEncoding, const std::string& path, TFileRecord& record) override;
  using Platform::FindFile;

  std::uint64_t opens = 0;
  std::uint64_t reads = 0;
  std::uint64_t lookups = 0;
};

class MemoryPlayer : public Player {
 public:
  explicit MemoryPlayer(std::string playlistPath) : playlistPath_(std::move(playlistPath)) {}

  std::int32_t WritePlaylist() override;
  std::int32_t ClearPlaylist() override;
  std::int32_t SetPlaylistPosition(std::int32_t entry) override;
  void Stop() override {}
  void Play() override {}
  void AddToPlaylist(const std::string& playlistPath) override;
  // It keeps its playlist where the settings say.
  std::optional<std::u16string> PlaylistFolder() override { return std::nullopt; }

  std::vector<std::string> entries;
  std::int32_t position = 0;
  // The time spent in the player's own work (writing and reading its files).
  double seconds = 0;

 private:
  std::string playlistPath_;
};

class QuietHost : public Host {
 public:
  void ShowMessage(const std::string&, const std::string&) override {}
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  void Refresh() override {}
};

// A command line of whole-number options ("--name N", each into its number) and one
// folder; false when a word is none of them or the folder is missing.
struct NumberOption {
  const char* Name;
  long* Value;
};
bool ParseArguments(int argc, char** argv, std::initializer_list<NumberOption> numbers,
                    std::string& folder);

// The wall-clock seconds that work takes.
double Seconds(const std::function<void()>& work);

// The plug-in of one benchmark: the settings file and the player's folder in folder.
struct BenchEdition {
  explicit BenchEdition(const std::string& folder);

  CountingPlatform os;
  TPluginState state{os};
  MemoryPlayer player;
  QuietHost host;
  Plugin plugin{os, state, player, host};
};

}  // namespace plenvox::bench
