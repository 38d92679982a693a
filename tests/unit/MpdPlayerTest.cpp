// The MPD player where the Double Commander scenario cannot look: the address rules of
// MPD's clients, the two directions between the queue's URIs and paths, and a daemon that
// is not there or does not answer.
#include "player/mpd/MpdPlayer.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "player/mpd/MpdLocation.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

struct AddressCase {
  const char* Name;
  std::string SettingsHost;
  int SettingsPort;
  std::optional<std::string> EnvironmentHost;
  std::optional<std::string> EnvironmentPort;
  TMpdAddress Expected;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.Name; }

class MpdAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(MpdAddressTest, ResolvesAsMpdClientsDo) {
  const AddressCase& c = GetParam();
  const TMpdAddress got = ResolveMpdAddress(c.SettingsHost, c.SettingsPort, c.EnvironmentHost, c.EnvironmentPort);
  EXPECT_EQ(got.Host, c.Expected.Host);
  EXPECT_EQ(got.Port, c.Expected.Port);
  EXPECT_EQ(got.Password, c.Expected.Password);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MpdAddressTest,
    testing::Values(
        AddressCase{"Defaults", "", 0, std::nullopt, std::nullopt, {"", 0, ""}},
        AddressCase{"Environment", "", 0, "/run/mpd/socket", "6601", {"/run/mpd/socket", 6601, ""}},
        AddressCase{"SettingsWin", "box", 6602, "other", "6601", {"box", 6602, ""}},
        AddressCase{"SettingsHostEnvironmentPort", "box", 0, "other", "6601", {"box", 6601, ""}},
        AddressCase{"Password", "", 0, "secret@box", std::nullopt, {"box", 0, "secret"}},
        AddressCase{"PasswordWithAt", "", 0, "se@cret@box", std::nullopt, {"box", 0, "se@cret"}},
        AddressCase{"AbstractSocket", "", 0, "@mpd", std::nullopt, {"@mpd", 0, ""}},
        AddressCase{"PortNotANumber", "", 0, "box", "66x", {"box", 0, ""}},
        AddressCase{"PortTooLarge", "", 70000, "box", "65536", {"box", 0, ""}}),
    [](const testing::TestParamInfo<AddressCase>& test) { return std::string(test.param.Name); });

TEST(MpdUriTest, RelativeUrisJoinTheMusicDirectory) {
  EXPECT_EQ(PathOfQueueUri("/srv/music", "rock/a b.mp3"), "/srv/music/rock/a b.mp3");
  EXPECT_EQ(PathOfQueueUri("/srv/music/", "a.mp3"), "/srv/music/a.mp3");
  EXPECT_EQ(PathOfQueueUri("/srv/music//", "a.mp3"), "/srv/music/a.mp3");
  EXPECT_EQ(PathOfQueueUri("/", "a.mp3"), "/a.mp3");
}

TEST(MpdUriTest, OtherUrisStayAsTheyAre) {
  EXPECT_EQ(PathOfQueueUri("/srv/music", "/home/me/x.mp3"), "/home/me/x.mp3");
  EXPECT_EQ(PathOfQueueUri("/srv/music", "file:///home/me/x.mp3"), "/home/me/x.mp3");
  EXPECT_EQ(PathOfQueueUri("/srv/music", "http://radio.example/stream"), "http://radio.example/stream");
  EXPECT_EQ(PathOfQueueUri("", "rock/a.mp3"), "rock/a.mp3");  // a daemon that did not tell
  EXPECT_EQ(PathOfQueueUri("/srv/music", "odd:name.mp3"), "/srv/music/odd:name.mp3");
  EXPECT_FALSE(HasUriScheme("1http://x"));
  EXPECT_TRUE(HasUriScheme("svn+ssh://x"));
}

TEST(MpdUriTest, PathsInsideTheMusicDirectoryGoBackRelative) {
  EXPECT_EQ(QueueUriOfPath("/srv/music", "/srv/music/rock/a.mp3"), "rock/a.mp3");
  EXPECT_EQ(QueueUriOfPath("/srv/music/", "/srv/music/a.mp3"), "a.mp3");
  EXPECT_EQ(QueueUriOfPath("/srv/music", "/srv/musicals/a.mp3"), "/srv/musicals/a.mp3");
  EXPECT_EQ(QueueUriOfPath("/srv/music", "/srv/music"), "/srv/music");
  EXPECT_EQ(QueueUriOfPath("", "/home/me/x.mp3"), "/home/me/x.mp3");
  EXPECT_EQ(QueueUriOfPath("/srv/music", "http://radio.example/stream"), "http://radio.example/stream");
  EXPECT_EQ(QueueUriOfPath("/srv/music", PathOfQueueUri("/srv/music", "b/c.mp3")), "b/c.mp3");
}

class RecordingHost : public Host {
 public:
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(caption + ": " + text);
  }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  void Refresh() override {}
  std::vector<std::string> messages;
};

// A Unix socket that takes connections into its backlog and never says a word.
class SilentDaemon {
 public:
  explicit SilentDaemon(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
             ::listen(fd_, 4) == 0;
  }
  ~SilentDaemon() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Bound() const { return bound_; }

 private:
  int fd_;
  bool bound_ = false;
};

class MpdPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    os.registryValue = RegistryValue{1, dir / "plenvox.ini" + '\0'};
    os.iniFiles[dir / "plenvox.ini"] =
        "[Path]\nWinampFolder=" + dir.Path() + "/\n[MPD]\nTimeout=1000\n";
    os.environment["MPD_HOST"] = dir / "socket";
    test::WriteFile(dir / "winamp.m3u8", "#EXTM3U\n/old/entry.mp3\n");
  }

  test::TempDir dir;
  test::FakePlatform os;
  RecordingHost host;
  MpdPlayer player{os, host};
};

TEST_F(MpdPlayerTest, NoDaemonIsOneMessageAndAnEmptyFolder) {
  EXPECT_EQ(player.WritePlaylist(), -1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(std::string(kMpdMessageCaption) + ": Plenvox cannot use MPD at the socket " +
                                  dir.Path() + "/socket (connect: "),
            std::string::npos)
      << host.messages[0];
  EXPECT_NE(host.messages[0].find("MPD_HOST"), std::string::npos);
  // The old queue is not listed as if it were MPD's.
  EXPECT_FALSE(test::Exists(dir / "winamp.m3u8"));
  // The rest of the same action fails at once, without a second message.
  EXPECT_EQ(player.ClearPlaylist(), -1);
  player.Play();
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(MpdPlayerTest, ADaemonThatDoesNotAnswerTimesOut) {
  SilentDaemon daemon(dir / "socket");
  ASSERT_TRUE(daemon.Bound());
  EXPECT_EQ(player.WritePlaylist(), -1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("imeout"), std::string::npos) << host.messages[0];
  EXPECT_FALSE(test::Exists(dir / "winamp.m3u8"));
}

}  // namespace
}  // namespace plenvox
