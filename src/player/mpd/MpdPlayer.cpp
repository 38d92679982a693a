#include "player/mpd/MpdPlayer.h"

#include <mpd/client.h>

#include <algorithm>
#include <utility>

#include "common/FileNames.h"
#include "common/Path.h"
#include "config/Settings.h"
#include "player/mpd/MpdLocation.h"

namespace plenvox {

namespace {

constexpr std::int32_t kNoAnswer = -1;
// A temporary playlist larger than this is no list of files that a user copied.
constexpr std::int64_t kPlaylistFileMax = 64ll * 1024 * 1024;
// libmpdclient waits for a connection in whole seconds.
constexpr std::int32_t kTimeoutMin = 1000;
constexpr const char* kQueueHeader = "#EXTM3U\n";
// MPD takes command lists of up to 2 MiB (max_command_list_size); paths are far shorter.
constexpr std::size_t kCommandsPerList = 1000;

std::string TextOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }

// The lines of a playlist file that name entries: not empty, not comments.
std::vector<std::string> EntryLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Sends count commands (send(i) sends the i-th) in command lists of a size that MPD
// takes; a command that MPD refuses (a file that it cannot add, an id that it no longer
// has) ends its list, and the next list starts after it. Stops at any other failure,
// which the connection keeps.
template <typename Send>
void SendInLists(mpd_connection* mpd, std::size_t count, Send send) {
  std::size_t next = 0;
  while (next < count) {
    const std::size_t end = std::min(count, next + kCommandsPerList);
    mpd_command_list_begin(mpd, false);
    for (std::size_t i = next; i < end; ++i) send(i);
    mpd_command_list_end(mpd);
    mpd_response_finish(mpd);
    if (mpd_connection_get_error(mpd) == MPD_ERROR_SUCCESS) {
      next = end;
      continue;
    }
    if (mpd_connection_get_error(mpd) != MPD_ERROR_SERVER) break;
    next += mpd_connection_get_server_error_location(mpd) + 1;
    mpd_connection_clear_error(mpd);
  }
}

}  // namespace

// One request's connection: open, with the password sent when the address has one,
// and MPD's music directory, from the settings or asked of MPD.
class MpdPlayer::Connection {
 public:
  Connection(MpdPlayer& player, const TMpdSettings& settings, const TMpdAddress& address)
      : player_(player),
        address_(DescribeMpdAddress(address)),
        connection_(mpd_connection_new(address.Host.empty() ? nullptr : address.Host.c_str(),
                                       address.Port,
                                       static_cast<unsigned>(player.timeout_.count()))),
        musicDirectory_(settings.MusicDirectory) {
    if (!Ok()) return;
    if (!address.Password.empty()) mpd_run_password(connection_, address.Password.c_str());
    if (Ok() && musicDirectory_.empty()) AskMusicDirectory();
  }
  ~Connection() {
    if (connection_) mpd_connection_free(connection_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  mpd_connection* Get() const { return connection_; }
  const std::string& MusicDirectory() const { return musicDirectory_; }

  bool Ok() const {
    return connection_ && mpd_connection_get_error(connection_) == MPD_ERROR_SUCCESS;
  }
  // After a step: false, and the user told, when it failed.
  bool Check(const char* step) {
    if (Ok()) return true;
    const std::string what = connection_ ? TextOrEmpty(mpd_connection_get_error_message(connection_))
                                         : std::string("out of memory");
    player_.Report(player_.FailureText(address_, std::string(step) + ": " + what));
    return false;
  }

 private:
  // Only local-socket clients may ask; a refusal leaves relative URIs as they are.
  void AskMusicDirectory() {
    if (!mpd_send_command(connection_, "config", nullptr)) return;
    if (mpd_pair* pair = mpd_recv_pair_named(connection_, "music_directory")) {
      musicDirectory_ = pair->value;
      mpd_return_pair(connection_, pair);
    }
    mpd_response_finish(connection_);
    if (mpd_connection_get_error(connection_) == MPD_ERROR_SERVER) {
      mpd_connection_clear_error(connection_);
    }
  }

  MpdPlayer& player_;
  std::string address_;
  mpd_connection* connection_;
  std::string musicDirectory_;
};

std::unique_ptr<MpdPlayer::Connection> MpdPlayer::Connect() {
  const TMpdSettings settings = LoadMpdSettings(os_);
  timeout_ = std::chrono::milliseconds(std::max(settings.TimeoutMs, kTimeoutMin));
  // A daemon that failed a moment ago is not asked again within the same action.
  if (lastFailure_ && Clock::now() - *lastFailure_ < timeout_) {
    lastFailure_ = Clock::now();
    return nullptr;
  }
  const TMpdAddress address =
      ResolveMpdAddress(settings.Host, settings.Port, os_.GetEnv("MPD_HOST"), os_.GetEnv("MPD_PORT"));
  auto connection = std::make_unique<Connection>(*this, settings, address);
  if (!connection->Check("connect")) return nullptr;
  lastFailure_.reset();
  return connection;
}

std::string MpdPlayer::FailureText(const std::string& address, const std::string& what) const {
  return "Plenvox cannot use MPD at " + address + " (" + what +
         ").\n\nStart MPD, or name its address: the variables MPD_HOST and MPD_PORT, or Host and "
         "Port in the section [MPD] of the settings file " + ReadIniFileName(os_) + ".";
}

void MpdPlayer::Report(const std::string& what) {
  const bool toldJustNow = lastFailure_ && Clock::now() - *lastFailure_ < timeout_;
  if (!toldJustNow) host_.ShowMessage(what, kMpdMessageCaption);
  // Counted from the moment the user closed the message.
  lastFailure_ = Clock::now();
}

std::string MpdPlayer::QueueFolder() const {
  TSettings settings;
  LoadSettings(os_, CaptureCommanderPath(os_), settings);
  return FolderOf(settings.WinampPlaylist);
}

std::vector<std::string> MpdPlayer::QueueFilePaths() const {
  const std::string folder = QueueFolder();
  if (folder.empty()) return {};
  return {folder + std::string(kPlayerPlaylistFile),
          folder + PlaylistFileName(kPlayerPlaylistFile, TTextEncoding::Utf8)};
}

void MpdPlayer::RemoveQueueFiles() {
  for (const std::string& path : QueueFilePaths()) os_.DeleteFile(path);
}

void MpdPlayer::WriteQueueFiles(const std::string& text) {
  const std::vector<std::string> paths = QueueFilePaths();
  std::uint32_t error = 0;
  if (paths.empty() || !os_.CreateFolders(WithoutTrailingSeparator(FolderOf(paths[0])), error)) return;
  // Each file is replaced whole, the UTF-8 one last: it is the newer of the two, which
  // the Unicode entry points read.
  for (const std::string& path : paths) {
    const std::string part = path + ".part";
    auto file = os_.CreateWrite(part, error);
    const bool written = file && file->Write(text.data(), text.size()) && file->Close();
    if (!written || !os_.MoveReplacing(part, path, error)) os_.DeleteFile(part);
  }
}

std::int32_t MpdPlayer::WritePlaylist() {
  const std::int32_t position = WriteQueue();
  if (position == kNoAnswer) RemoveQueueFiles();
  return position;
}

std::int32_t MpdPlayer::WriteQueue() {
  const auto connection = Connect();
  if (!connection) return kNoAnswer;
  mpd_connection* mpd = connection->Get();
  std::string text = kQueueHeader;
  writtenIds_.clear();
  if (mpd_send_list_queue_meta(mpd)) {
    while (mpd_song* song = mpd_recv_song(mpd)) {
      text += PathOfQueueUri(connection->MusicDirectory(), TextOrEmpty(mpd_song_get_uri(song)));
      text += '\n';
      writtenIds_.push_back(mpd_song_get_id(song));
      mpd_song_free(song);
    }
    mpd_response_finish(mpd);
  }
  if (!connection->Check("playlistinfo")) return kNoAnswer;
  mpd_status* status = mpd_run_status(mpd);
  if (!connection->Check("status")) return kNoAnswer;
  const std::int32_t position = status ? mpd_status_get_song_pos(status) : kNoAnswer;
  if (status) mpd_status_free(status);
  WriteQueueFiles(text);
  // An empty queue has no current entry; the position to come is its first.
  return std::max(position, 0);
}

std::int32_t MpdPlayer::ClearPlaylist() {
  const auto connection = Connect();
  if (!connection) return kNoAnswer;
  mpd_run_clear(connection->Get());
  return connection->Check("clear") ? 0 : kNoAnswer;
}

std::int32_t MpdPlayer::SetPlaylistPosition(std::int32_t entry) {
  if (entry < 0) return kNoAnswer;
  const auto connection = Connect();
  if (!connection) return kNoAnswer;
  mpd_connection* mpd = connection->Get();
  const TMpdState state = State(mpd);
  if (!connection->Check("status")) return kNoAnswer;
  if (static_cast<unsigned>(entry) >= state.QueueLength) return kNoAnswer;
  // MPD has no current entry without playing it: a stopped MPD plays it and stops again.
  mpd_run_play_pos(mpd, static_cast<unsigned>(entry));
  if (state.Play == MPD_STATE_PAUSE) mpd_run_pause(mpd, true);
  if (state.Play != MPD_STATE_PLAY && state.Play != MPD_STATE_PAUSE) mpd_run_stop(mpd);
  return connection->Check("play") ? 0 : kNoAnswer;
}

void MpdPlayer::Stop() {
  if (const auto connection = Connect()) {
    mpd_run_stop(connection->Get());
    connection->Check("stop");
  }
}

void MpdPlayer::Play() {
  if (const auto connection = Connect()) {
    mpd_run_play(connection->Get());
    connection->Check("play");
  }
}

void MpdPlayer::RemoveEntries(const std::vector<std::int32_t>& removed, const std::string&,
                              std::int32_t position) {
  std::vector<unsigned> ids;
  for (const std::int32_t number : removed) {
    if (number >= 0 && static_cast<std::size_t>(number) < writtenIds_.size()) {
      ids.push_back(writtenIds_[static_cast<std::size_t>(number)]);
    }
  }
  if (ids.empty()) return;
  const auto connection = Connect();
  if (!connection) return;
  mpd_connection* mpd = connection->Get();
  const TMpdState before = State(mpd);
  SendInLists(mpd, ids.size(), [&](std::size_t i) { mpd_send_delete_id(mpd, ids[i]); });
  if (!connection->Check("deleteid")) return;
  const bool currentRemoved =
      before.SongId >= 0 &&
      std::find(ids.begin(), ids.end(), static_cast<unsigned>(before.SongId)) != ids.end();
  if (!currentRemoved || (before.Play != MPD_STATE_PLAY && before.Play != MPD_STATE_PAUSE)) return;
  // MPD goes on with the song after a removed current one by itself, unless it has none to
  // go on with: after the last song, in single mode, or paused. Then the entry that the
  // batch made current (the one that followed, else the first) goes on as MPD went.
  const TMpdState after = State(mpd);
  if (after.SongPosition >= 0 || position < 0 || static_cast<unsigned>(position) >= after.QueueLength) {
    return;
  }
  mpd_run_play_pos(mpd, static_cast<unsigned>(position));
  if (before.Play == MPD_STATE_PAUSE) mpd_run_pause(mpd, true);
  connection->Check("play");
}

MpdPlayer::TMpdState MpdPlayer::State(mpd_connection* mpd) {
  TMpdState state;
  if (mpd_status* status = mpd_run_status(mpd)) {
    state.Play = mpd_status_get_state(status);
    state.SongId = mpd_status_get_song_id(status);
    state.SongPosition = mpd_status_get_song_pos(status);
    state.QueueLength = mpd_status_get_queue_length(status);
    mpd_status_free(status);
  }
  return state;
}

void MpdPlayer::AddToPlaylist(const std::string& playlistPath) {
  std::uint32_t error = 0;
  auto file = os_.OpenRead(playlistPath, error);
  std::int64_t size = 0;
  if (!file || !file->Size(size) || size < 0 || size > kPlaylistFileMax) return;
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  if (!file->Read(text.data(), text.size(), got)) return;
  text.resize(got);
  const std::vector<std::string> entries = EntryLines(text);
  if (entries.empty()) return;

  const auto connection = Connect();
  if (!connection) return;
  SendInLists(connection->Get(), entries.size(), [&](std::size_t i) {
    mpd_send_add(connection->Get(), QueueUriOfPath(connection->MusicDirectory(), entries[i]).c_str());
  });
  connection->Check("add");
}

}  // namespace plenvox
