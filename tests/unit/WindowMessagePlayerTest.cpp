#include "player/WindowMessagePlayer.h"

#include <gtest/gtest.h>

#include "config/Settings.h"
#include "player/WindowedHost.h"

#include "support/FakePlatform.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using Calls = std::vector<std::string>;

constexpr WindowHandle kPlayer = 0x1001;
constexpr WindowHandle kHost = 0x2002;

class WindowMessagePlayerTest : public ::testing::Test {
 protected:
  WindowMessagePlayerTest() { settings.WinampExe = "D:\\Player\\winamp.exe"; }
  void PlayerStartsWhenRun() {
    os.onRunCommandLine = [this](const std::string&, int) { os.windows["Winamp v1.x"] = kPlayer; };
  }
  FakePlatform os;
  TSettings settings;
  WindowMessagePlayer link{os, settings.WinampExe};
  WindowedHost host{os};
};

TEST_F(WindowMessagePlayerTest, MissingPlayerIsStartedWithShowCode5ThenAsked) {
  PlayerStartsWhenRun();
  os.onSendMessage = [](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return std::intptr_t{4};
  };
  EXPECT_EQ(link.WritePlaylist(), 4);
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{"RunCommandLine(D:\\Player\\winamp.exe, 5)",
                             "SendMessage(4097, 1024, 0, 120)"}));
}

TEST_F(WindowMessagePlayerTest, RunningPlayerGetsExactlyOneMessage) {
  os.windows["Winamp v1.x"] = kPlayer;
  link.ClearPlaylist();
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{"SendMessage(4097, 1024, 0, 101)"}));
}

TEST_F(WindowMessagePlayerTest, PlayerThatDoesNotAppearGetsNothing) {
  settings.WinampExe = "winamp.exe";
  EXPECT_EQ(link.WritePlaylist(), -1);
  EXPECT_EQ(link.SetPlaylistPosition(3), -1);
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{"RunCommandLine(winamp.exe, 5)", "RunCommandLine(winamp.exe, 5)"}));
}

TEST_F(WindowMessagePlayerTest, RequestsCarryTheirNumbers) {
  os.windows["Winamp v1.x"] = kPlayer;
  link.SetPlaylistPosition(7);
  link.SetPlaylistPosition(-1);
  link.Stop();
  link.Play();
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{"SendMessage(4097, 1024, 7, 121)", "SendMessage(4097, 1024, -1, 121)",
                             "SendMessage(4097, 273, 40047, 0)", "SendMessage(4097, 273, 40045, 0)"}));
}

TEST_F(WindowMessagePlayerTest, AnswerIsTakenAs32BitSigned) {
  os.windows["Winamp v1.x"] = kPlayer;
  os.onSendMessage = [](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return static_cast<std::intptr_t>(0xFFFFFFFFu);
  };
  EXPECT_EQ(link.WritePlaylist(), -1);
}

TEST_F(WindowMessagePlayerTest, AddJoinsTheCommandLineExactlyWhetherOrNotThePlayerRuns) {
  link.AddToPlaylist("C:\\Temp\\temp.m3u");
  os.windows["Winamp v1.x"] = kPlayer;
  link.AddToPlaylist("C:\\Temp\\temp.m3u");
  const std::string expected = "RunCommandLine(D:\\Player\\winamp.exe /ADD C:\\Temp\\temp.m3u, 1)";
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{expected, expected}));
}

TEST_F(WindowMessagePlayerTest, PathsWithBlanksAreQuotedOnCommandLines) {
  // Unquoted, the player would read "C:\Temp" and "dir\temp.m3u" as two files and a delete
  // batch would lose the playlist it had just cleared.
  settings.WinampExe = "C:\\Program Files\\Winamp\\winamp.exe";
  link.AddToPlaylist("C:\\Temp dir\\temp.m3u");
  PlayerStartsWhenRun();
  link.WritePlaylist();
  EXPECT_EQ(os.CallsStartingWith({"RunCommandLine"}),
            (Calls{"RunCommandLine(\"C:\\Program Files\\Winamp\\winamp.exe\" /ADD \"C:\\Temp dir\\temp.m3u\", 1)",
                   "RunCommandLine(\"C:\\Program Files\\Winamp\\winamp.exe\", 5)"}));
  EXPECT_EQ(CommandLinePath("\"C:\\a b\""), "\"C:\\a b\"");
}

TEST_F(WindowMessagePlayerTest, RefreshIsPostedOnlyWithAHostWindow) {
  host.Refresh();
  EXPECT_TRUE(os.CallsWithoutLookups().empty());
  os.windows["TTOTAL_CMD"] = kHost;
  EXPECT_EQ(host.Window(), kHost);
  host.Refresh();
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{"PostMessage(8194, 1075, 540, 0)"}));
}

}  // namespace
}  // namespace plenvox
