// Replacing a file safely: whole files only, the old one kept on failure,
// permissions and links kept, parallel writers, and a writer killed at any
// moment.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "framework/game_record.h"
#include "support/test_data_builders.h"
#include "util/safe_file.h"

namespace {

namespace fs = std::filesystem;

int FilesIn(const char* folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(SafeFileTest, ReplacesWholeFilesAndKeepsTheOldOneOnFailure) {
  testdata::ScratchDirectory dir("denkar_safefile_");
  ASSERT_TRUE(dir.Ok());
  ASSERT_TRUE(WriteFileSafely("a.sav", "old"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile("a.sav", &bytes));
  EXPECT_EQ(bytes, "old");
  ASSERT_TRUE(WriteFileSafely("a.sav", std::string("new\0data\r\n", 10)));
  ASSERT_TRUE(ReadWholeFile("a.sav", &bytes));
  EXPECT_EQ(bytes, std::string("new\0data\r\n", 10));
  EXPECT_EQ(FilesIn("."), 1);  // no temporary file is left behind
  // A target that cannot be replaced (a folder) fails, leaves no temporary
  // file and keeps what was there.
  ASSERT_EQ(mkdir("folder.sav", 0700), 0);
  EXPECT_FALSE(WriteFileSafely("folder.sav", "x"));
  EXPECT_TRUE(fs::is_directory("folder.sav"));
  EXPECT_EQ(FilesIn("."), 2);
  EXPECT_FALSE(WriteFileSafely("missing/dir/b.sav", "x"));
  EXPECT_FALSE(ReadWholeFile("nothing.sav", &bytes));
}

TEST(SafeFileTest, KeepsPermissionsAndWritesThroughALink) {
  testdata::ScratchDirectory dir("denkar_safefile_");
  ASSERT_TRUE(dir.Ok());
  ASSERT_TRUE(WriteFileSafely("own.sav", "1"));
  ASSERT_EQ(chmod("own.sav", 0600), 0);
  ASSERT_TRUE(WriteFileSafely("own.sav", "2"));
  struct stat info;
  ASSERT_EQ(stat("own.sav", &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  ASSERT_EQ(mkdir("elsewhere", 0700), 0);
  ASSERT_TRUE(WriteFileSafely("elsewhere/real.sav", "old"));
  ASSERT_EQ(symlink("elsewhere/real.sav", "link.sav"), 0);
  ASSERT_TRUE(WriteFileSafely("link.sav", "new"));
  EXPECT_TRUE(fs::is_symlink("link.sav"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile("elsewhere/real.sav", &bytes));
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(FilesIn("elsewhere"), 1);
}

TEST(SafeFileTest, TwoWritersOfOneFileNeverMixTheirContents) {
  testdata::ScratchDirectory dir("denkar_safefile_");
  ASSERT_TRUE(dir.Ok());
  const std::string a(100000, 'a'), b(120000, 'b');
  ASSERT_TRUE(WriteFileSafely("shared.sav", a));
  auto writer = [](const std::string& text) {
    for (int i = 0; i < 40; ++i) WriteFileSafely("shared.sav", text);
  };
  std::thread first(writer, a), second(writer, b);
  int reads = 0, bad = 0;
  while (reads < 100) {
    std::string bytes;
    if (!ReadWholeFile("shared.sav", &bytes)) continue;
    ++reads;
    if (bytes != a && bytes != b) ++bad;
  }
  first.join();
  second.join();
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(FilesIn("."), 1);
}

// A child writes a save file in a loop and is killed at a random moment, a
// few hundred times: the file is always one complete version, and a stale
// temporary file left by a kill does not disturb reading or the next save.
TEST(SafeFileTest, AWriterKilledAtAnyMomentLeavesACompleteFile) {
  testdata::ScratchDirectory dir("denkar_safefile_");
  ASSERT_TRUE(dir.Ok());
  GameRecord record;
  record.AddResult(2.0);
  const std::string oldText = record.SaveText();
  for (int i = 0; i < 2000; ++i) {
    auto* e = new HighscoreEntry();
    e->SetName("Spieler mit einem langen Namen");
    e->grade = 1.0 + i % 50 / 10.0;
    record.InsertEntry(e);
  }
  record.AddResult(3.0);
  const std::string newText = record.SaveText();
  ASSERT_NE(oldText, newText);
  ASSERT_TRUE(WriteFileSafely("kill.sav", oldText));

  std::mt19937 random(4711);
  for (int round = 0; round < 200; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) WriteFileSafely("kill.sav", i % 2 ? oldText : newText);
    }
    usleep(random() % 3000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile("kill.sav", &bytes)) << "round " << round;
    ASSERT_TRUE(bytes == oldText || bytes == newText) << "round " << round;
  }
  // Stale temporary files may lie beside it; the save file loads and saves.
  GameRecord loaded;
  ASSERT_TRUE(loaded.LoadFile("kill.sav"));
  EXPECT_GE(loaded.playCount, 1);
  ASSERT_TRUE(loaded.SaveFile("kill.sav"));
  GameRecord again;
  ASSERT_TRUE(again.LoadFile("kill.sav"));
  EXPECT_EQ(again.SaveText(), loaded.SaveText());
}

}  // namespace
