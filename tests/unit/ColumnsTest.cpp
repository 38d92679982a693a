// What the end-to-end scenarios cannot time: a stop request and the plug-in's unloading
// that arrive while a value is being got on the host's background thread, and values got
// on one thread while the host's thread publishes new listings.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "AudioBytes.h"
#include "platform/posix/PosixPlatform.h"
#include "plugin/Columns.h"
#include "plugin/ContentFields.h"
#include "plugin/HostInterface.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

// Runs a step of the test while the columns open a file for its analysis.
class SteppedPlatform : public PosixPlatform {
 public:
  std::unique_ptr<File> OpenRead(TTextEncoding encoding, const std::string& path,
                                 std::uint32_t& error) override {
    if (onOpen) onOpen();
    return PosixPlatform::OpenRead(encoding, path, error);
  }
  using PosixPlatform::OpenRead;
  std::function<void()> onOpen;
};

class ColumnsTest : public ::testing::Test {
 protected:
  ColumnsTest() {
    // Two MPEG 1 Layer III frames behind an ID3v2.3 tag holding a title.
    WriteFile(song, Id3v2Tag(3, Id3v2Frame("TIT2", Bytes({0}) + "Song")) +
                        Repeat(MpegFrame(Bytes({0xFF, 0xFB, 0x90, 0x00}), 417), 4));
    WriteFile(playlist, "#EXTM3U\r\n#EXTINF:12,Entry title\r\n" + song + "\r\n");
    Publish();
  }
  // As a mode 0 listing of a playlist holding the song publishes it.
  void Publish() {
    columns.Snapshots().Begin(playlist, TTextEncoding::Utf8, false);
    columns.Snapshots().Publish();
  }
  TFieldValue Get(int field, int flags = 0) { return columns.Value("\\" + song, false, field, 0, flags); }

  TempDir dir;
  const std::string song = dir / "song.mp3";
  const std::string playlist = dir / "winamp.m3u8";
  SteppedPlatform os;
  AnalysisCache analyses{os};
  Columns columns{os, analyses};
};

TEST_F(ColumnsTest, AStopRequestEndsTheValueBeingGotOnly) {
  os.onOpen = [&] { columns.StopGetValue("\\" + song); };
  EXPECT_EQ(Get(kFieldTitle).Type, wfx::kFtFieldEmpty);
  os.onOpen = nullptr;
  // Asked again, the value is got: the stop was for the value that was pending.
  const TFieldValue title = Get(kFieldTitle);
  EXPECT_EQ(title.Type, wfx::kFtString);
  EXPECT_EQ(title.Text, "Song");
}

TEST_F(ColumnsTest, UnloadingEndsTheValueBeingGotAndEveryLaterOne) {
  os.onOpen = [&] { columns.PluginUnloading(); };
  EXPECT_EQ(Get(kFieldTitle).Type, wfx::kFtFieldEmpty);
  os.onOpen = nullptr;
  EXPECT_EQ(Get(kFieldTitle).Type, wfx::kFtFieldEmpty);
  EXPECT_EQ(Get(kFieldPosition, wfx::kContentDelayIfSlow).Type, wfx::kFtFieldEmpty);
}

TEST_F(ColumnsTest, ValuesOnAThreadWhileListingsArePublished) {
  std::atomic<bool> done{false};
  std::atomic<int> wrong{0};
  // Two readers, so that the entries of one published listing are built by either.
  const auto read = [&] {
    while (!done) {
      const TFieldValue title = Get(kFieldTitle);
      const TFieldValue info = Get(kFieldInfoTitle, wfx::kContentDelayIfSlow);
      if (title.Text != "Song" || info.Text != "Entry title") ++wrong;
    }
  };
  std::thread background(read);
  std::thread other(read);
  for (int i = 0; i < 2000; ++i) Publish();
  done = true;
  background.join();
  other.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace plenvox
