// Copying an entry out where the end-to-end runs cannot make the system fail: a read
// error in the middle of the source, a full disk, a flush, close or rename that fails.
// Each leaves no temporary copy, the old target as it was, and the source closed.
#include <gtest/gtest.h>

#include <dirent.h>

#include "plugin/HostInterface.h"
#include "support/PluginScene.h"

namespace plenvox {
namespace {

constexpr std::uint32_t kErrorDiskFull = 112;

// A plug-in whose playlist holds one entry, a source of a few chunks, listed.
class CopyOutScene {
 public:
  CopyOutScene() {
    test::WriteFile(source, std::string(3 * CopyOut::kChunkSize + 5, 's'));
    test::WriteFile(scene.PlaylistPath(), "#EXTM3U\r\n" + source + "\r\n");
    scene.Configure("", "");
    scene.ListRoot();
  }
  int GetFile(std::string local, int flags = 0) {
    return scene.plugin.FsGetFile("\\" + source, local, flags);
  }
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(scene.dir.Path().c_str())) {
      while (const dirent* entry = ::readdir(dir)) {
        if (std::string(entry->d_name).rfind("~plenvox", 0) == 0) names.emplace_back(entry->d_name);
      }
      ::closedir(dir);
    }
    return names;
  }

  test::PluginScene scene;
  std::string source = scene.dir / "song.mp3";
  std::string target = scene.dir / "copy.mp3";
};

TEST(CopyOutTest, FailuresLeaveNoPartialFileAndTheOldTarget) {
  struct Case {
    const char* op;
    std::string part;
    std::uint32_t code;
    int after;
    int flags;
    int result;
  };
  const Case cases[] = {
      {"read", "song.mp3", kErrorReadFault, 1, wfx::kCopyOverwrite, wfx::kFileReadError},
      {"write", "~plenvox", kErrorDiskFull, 2, wfx::kCopyOverwrite, wfx::kFileWriteError},
      {"flush", "~plenvox", kErrorDiskFull, 0, wfx::kCopyOverwrite, wfx::kFileWriteError},
      {"close", "~plenvox", kErrorDiskFull, 0, wfx::kCopyOverwrite, wfx::kFileWriteError},
      {"rename", "copy.mp3", kErrorAccessDenied, 0, wfx::kCopyOverwrite, wfx::kFileWriteError},
      {"create", "~plenvox", kErrorAccessDenied, 0, wfx::kCopyOverwrite, wfx::kFileWriteError},
      {"open", "song.mp3", 32, 0, wfx::kCopyOverwrite, wfx::kFileReadError},  // a sharing violation
  };
  for (const Case& c : cases) {
    CopyOutScene s;
    test::WriteFile(s.target, "the old target");
    s.scene.os.FailOn(c.op, c.part, c.code, c.after);
    EXPECT_EQ(s.GetFile(s.target, c.flags), c.result) << c.op;
    EXPECT_EQ(test::ReadFile(s.target), "the old target") << c.op;
    EXPECT_EQ(s.Leftovers(), std::vector<std::string>{}) << c.op;
    EXPECT_FALSE(s.scene.os.IsOpen(s.source)) << c.op;
    EXPECT_EQ(test::ReadFile(s.source).size(), 3 * CopyOut::kChunkSize + 5) << c.op;
  }
}

TEST(CopyOutTest, ANewTargetIsNotFlushedAndAReplacedOneIs) {
  CopyOutScene s;
  EXPECT_EQ(s.GetFile(s.target), wfx::kFileOk);
  s.scene.os.FailOn("flush", "~plenvox", kErrorDiskFull);
  EXPECT_EQ(s.GetFile(s.scene.dir / "new.mp3"), wfx::kFileOk) << "a new target waits for no disk";
  EXPECT_EQ(s.GetFile(s.target, wfx::kCopyOverwrite), wfx::kFileWriteError)
      << "an old target is given up only once the copy is on the disk";
  EXPECT_EQ(test::ReadFile(s.target).size(), 3 * CopyOut::kChunkSize + 5);
}

// The progress callbacks that the host handed over: each records its form and percent,
// and answers "abort" from abortAt on.
std::vector<std::string> g_progress;
int g_abortAt = 1000;

int PLENVOX_WFX_CALL AnsiProgress(int, char* source, char*, int percent) {
  g_progress.push_back("A " + std::string(source) + " " + std::to_string(percent));
  return percent >= g_abortAt ? wfx::kProgressAbort : 0;
}

int PLENVOX_WFX_CALL WideProgress(int, char16_t*, char16_t*, int percent) {
  g_progress.push_back("W " + std::to_string(percent));
  return percent >= g_abortAt ? wfx::kProgressAbort : 0;
}

TEST(CopyOutTest, EachFormCallsTheProgressCallbackThereIsAndStopsAtItsAbort) {
  CopyOutScene s;
  g_progress.clear();
  g_abortAt = 1000;
  std::u16string wideTarget = s.scene.os.AnsiToWide(s.target);
  // Only the ANSI callback (a host that called FsInit alone): the W copy reports through it.
  s.scene.plugin.KeepProgress(3, &AnsiProgress);
  EXPECT_EQ(s.scene.plugin.FsGetFileW(u"\\" + s.scene.os.AnsiToWide(s.source), wideTarget, 0), wfx::kFileOk);
  EXPECT_EQ(g_progress, (std::vector<std::string>{"A " + s.source + " 0", "A " + s.source + " 33",
                                                  "A " + s.source + " 66", "A " + s.source + " 99",
                                                  "A " + s.source + " 100"}));
  // Both: each form its own; an abort at 33 % leaves nothing behind.
  s.scene.plugin.KeepProgressW(3, &WideProgress);
  g_progress.clear();
  g_abortAt = 33;
  EXPECT_EQ(s.GetFile(s.scene.dir / "other.mp3"), wfx::kFileUserAbort);
  EXPECT_EQ(g_progress, (std::vector<std::string>{"A " + s.source + " 0", "A " + s.source + " 33"}));
  g_progress.clear();
  EXPECT_EQ(s.scene.plugin.FsGetFileW(u"\\" + s.scene.os.AnsiToWide(s.source), wideTarget,
                                      wfx::kCopyOverwrite),
            wfx::kFileUserAbort);
  EXPECT_EQ(g_progress, (std::vector<std::string>{"W 0", "W 33"}));
  EXPECT_FALSE(test::Exists(s.scene.dir / "other.mp3"));
  EXPECT_EQ(s.Leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace plenvox
