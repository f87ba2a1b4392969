#include <gtest/gtest.h>

#include <string>
#include "data/data_file.h"
#include "data/member_stream.h"
#include "support/test_data_builders.h"

using testdata::Bytes;
using testdata::BuildArchive;
using testdata::Entry;
using testdata::ToBytes;

namespace {

// Writes the archive under a new name into the working folder and opens it.
FILE* OpenArchive(const Bytes& archive) {
  static int serial = 0;
  const std::string name = "archive" + std::to_string(++serial) + ".gob";
  if (!testdata::WriteFile(name, archive)) return nullptr;
  return OpenDataFile(name.c_str());
}

std::string ReadAsText(FILE* file, const char* name) {
  Bytes bytes;
  if (!ReadMember(file, name, &bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(DataFileOpen, RejectsBadHeaders) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  EXPECT_EQ(OpenDataFile("no such file.gob"), nullptr);
  EXPECT_EQ(OpenDataFile(nullptr), nullptr);

  // Count 0: the archive counts as missing.
  ASSERT_TRUE(testdata::WriteFile("zero.gob", BuildArchive({}, 0)));
  EXPECT_EQ(OpenDataFile("zero.gob"), nullptr);

  ASSERT_TRUE(testdata::WriteFile("magic.gob", BuildArchive({{"a", ToBytes("x")}}, -1, "BOG")));
  EXPECT_EQ(OpenDataFile("magic.gob"), nullptr);

  // Shorter than the 8-byte header.
  ASSERT_TRUE(testdata::WriteFile("short.gob", Bytes{'G', 'O', 'B', 0, 1}));
  EXPECT_EQ(OpenDataFile("short.gob"), nullptr);

  ASSERT_TRUE(testdata::WriteFile("good.gob", BuildArchive({{"a", ToBytes("x")}})));
  FILE* good = OpenDataFile("good.gob");
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(ftell(good), 8);  // positioned after the header
  CloseDataFile(good);
  CloseDataFile(nullptr);  // harmless
}

TEST(DataFileLookup, NamesIgnoreCaseAndFirstMatchWins) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  FILE* f = OpenArchive(BuildArchive({{"misc1.PNG", ToBytes("first")},
                                      {"Sounds\\klick_game.wav", ToBytes("click")},
                                      {"MISC1.png", ToBytes("second")}}));
  ASSERT_NE(f, nullptr);
  uint32_t size = 99;
  EXPECT_EQ(FindMember(f, "MISC1.PNG", &size), f);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(ReadAsText(f, "misc1.png"), "first");
  EXPECT_EQ(ReadAsText(f, "sounds\\KLICK_GAME.WAV"), "click");
  EXPECT_EQ(ReadAsText(f, "Sounds/klick_game.wav"), "<missing>");  // the backslash is part of the name
  EXPECT_EQ(ReadAsText(f, "misc1.PN"), "<missing>");
  EXPECT_EQ(FindMember(f, "misc1.PNG"), f);  // the size may be omitted
  CloseDataFile(f);
}

TEST(DataFileLookup, EmptyOrMissingNameLeavesPositionAlone) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  FILE* f = OpenArchive(BuildArchive({{"a", ToBytes("abc")}}));
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(fseek(f, 3, SEEK_SET), 0);
  EXPECT_EQ(FindMember(f, ""), nullptr);
  EXPECT_EQ(FindMember(f, nullptr), nullptr);
  EXPECT_EQ(ftell(f), 3);
  EXPECT_EQ(FindMember(nullptr, "a"), nullptr);
  CloseDataFile(f);
}

TEST(DataFileLookup, SizeZeroMemberIsFoundButNotReadable) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  FILE* f = OpenArchive(BuildArchive({{"empty.txt", {}}, {"full.txt", ToBytes("1 2")}}));
  ASSERT_NE(f, nullptr);
  uint32_t size = 99;
  EXPECT_EQ(FindMember(f, "empty.txt", &size), f);
  EXPECT_EQ(size, 0u);
  Bytes bytes{1, 2, 3};
  EXPECT_FALSE(ReadMember(f, "empty.txt", &bytes));
  EXPECT_TRUE(bytes.empty());
  MemberStream ms(f, "empty.txt");
  EXPECT_EQ(ms.stream, nullptr);
  CloseDataFile(f);
}

TEST(DataFileLookup, EntriesOutsideTheFileCountAsMissing) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  const Bytes payload = ToBytes("payload");
  Bytes archive = BuildArchive({
      {"beyond", {}, 1000000, 4},           // starts past the end
      {"overlong", {}, 8, 1000000},         // runs past the end
      {"wraps", {}, 0xFFFFFFF0, 0x20},      // offset + size wraps in 32 bits
      {"beyond", payload},                  // a later entry of the same name is usable
      {"edge", {}, -1, 0},                  // size 0 placed at the very end: inside the file
  });
  // Point "edge" at the end of the file.
  const uint32_t end = static_cast<uint32_t>(archive.size());
  const size_t edgeEntry = 8 + 4 * 268;
  for (int i = 0; i < 4; ++i) archive[edgeEntry + i] = static_cast<uint8_t>(end >> (8 * i));
  FILE* f = OpenArchive(archive);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ReadAsText(f, "beyond"), "payload");
  EXPECT_EQ(FindMember(f, "overlong"), nullptr);
  EXPECT_EQ(FindMember(f, "wraps"), nullptr);
  uint32_t size = 99;
  EXPECT_EQ(FindMember(f, "edge", &size), f);
  EXPECT_EQ(size, 0u);
  CloseDataFile(f);
}

TEST(DataFileLookup, TruncatedDirectoryEndsTheLookup) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  Bytes archive = BuildArchive({{"one", ToBytes("1")}, {"two", ToBytes("2")}});
  // Claim far more entries than the file holds: the lookup must stop at the
  // end of the file instead of comparing a stale entry billions of times.
  archive[4] = archive[5] = archive[6] = archive[7] = 0xFF;
  FILE* f = OpenArchive(archive);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ReadAsText(f, "two"), "2");
  EXPECT_EQ(FindMember(f, "three"), nullptr);

  // A directory cut inside its second entry: the first entry, whose bytes
  // lie before the cut, still works.
  Bytes cut = BuildArchive({{"one", {}, 0, 3}, {"two", ToBytes("2")}});
  cut.resize(8 + 268 + 100);
  FILE* g = OpenArchive(cut);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(FindMember(g, "two"), nullptr);
  EXPECT_EQ(ReadAsText(g, "one"), "GOB");
  CloseDataFile(f);
  CloseDataFile(g);
}

TEST(DataFileLookup, UnterminatedNameIsCutAt260Bytes) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  const std::string full(260, 'n');  // fills the whole name field, no zero byte
  FILE* f = OpenArchive(BuildArchive({{full, ToBytes("long")}, {"next", ToBytes("ok")}}));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ReadAsText(f, std::string(259, 'N').c_str()), "long");
  EXPECT_EQ(FindMember(f, full.c_str()), nullptr);
  EXPECT_EQ(ReadAsText(f, "next"), "ok");
  CloseDataFile(f);
}

TEST(MemberStreamRead, ParsesTokensWithStreamOperators) {
  testdata::ScratchDirectory dir("denkar_archive");
  ASSERT_TRUE(dir.Ok());
  FILE* f = OpenArchive(BuildArchive({
      {"bb_0", ToBytes("OBJEKT_START\r\nPOSITON: 12.5 -3\r\nROT: 270\r\nOBJEKT_END\r\n")},
      {"bb_1", ToBytes("second 7")},
  }));
  ASSERT_NE(f, nullptr);
  MemberStream ms(f, "BB_0");
  ASSERT_NE(ms.stream, nullptr);
  std::string key, word;
  float x = 0, y = 0;
  *ms.stream >> word >> key >> x >> y;
  EXPECT_EQ(word, "OBJEKT_START");
  EXPECT_EQ(key, "POSITON:");
  EXPECT_FLOAT_EQ(x, 12.5f);
  EXPECT_FLOAT_EQ(y, -3.0f);
  std::string line;
  std::getline(*ms.stream, line);  // the rest of the line: CR LF reads as a plain line end
  EXPECT_EQ(line, "");
  std::getline(*ms.stream, line);
  EXPECT_EQ(line, "ROT: 270");
  *ms.stream >> word;
  EXPECT_EQ(word, "OBJEKT_END");
  *ms.stream >> word;
  EXPECT_TRUE(ms.stream->fail());

  // Opening another member replaces the content; a missing one leaves no stream.
  ms.Open(f, "bb_1");
  ASSERT_NE(ms.stream, nullptr);
  int n = 0;
  *ms.stream >> word >> n;
  EXPECT_EQ(word, "second");
  EXPECT_EQ(n, 7);
  ms.Open(f, "bb_2");
  EXPECT_EQ(ms.stream, nullptr);
  ms.Open(f, "bb_0");
  ms.Close();
  EXPECT_EQ(ms.stream, nullptr);
  ms.Close();  // closing twice is harmless

  // No temporary file is ever written into the working folder.
  FILE* tmp = fopen("tmp.file", "rb");
  EXPECT_EQ(tmp, nullptr);
  if (tmp != nullptr) fclose(tmp);

  MemberStream none(nullptr, "bb_0");
  EXPECT_EQ(none.stream, nullptr);
  CloseDataFile(f);
}
