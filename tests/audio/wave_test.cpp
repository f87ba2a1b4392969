#include <gtest/gtest.h>

#include "audio/wave_file.h"
#include "data/data_file.h"
#include "support/test_data_builders.h"

using testdata::Bytes;
using testdata::WavLayout;

namespace {

Bytes Chunk(const char* tag, uint32_t declaredSize, const Bytes& body) {
  Bytes c;
  testdata::PutTag(c, tag);
  testdata::PutLE32(c, declaredSize);
  c.insert(c.end(), body.begin(), body.end());
  return c;
}

Bytes Counting(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + 1);
  return b;
}

}  // namespace

TEST(WaveFileParse, PcmFormatAndReadsClampedToBytesLeft) {
  WavLayout layout;
  layout.channels = 2;
  layout.samplesPerSec = 44100;
  layout.blockAlign = 4;
  layout.samples = Counting(40);
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::MakeWav(layout)), S_OK);
  EXPECT_EQ(wave.Format().channels, 2);
  EXPECT_EQ(wave.Format().samplesPerSec, 44100u);
  EXPECT_EQ(wave.Format().cbSize, 0);
  EXPECT_EQ(wave.Size(), 40u);

  uint8_t out[64] = {};
  uint32_t got = 0;
  ASSERT_EQ(wave.Read(out, 30, &got), S_OK);
  EXPECT_EQ(got, 30u);
  ASSERT_EQ(wave.Read(out + 30, 30, &got), S_OK);  // only 10 are left
  EXPECT_EQ(got, 10u);
  EXPECT_EQ(Bytes(out, out + 40), layout.samples);
  ASSERT_EQ(wave.Read(out, 30, &got), S_OK);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(wave.Read(nullptr, 1, &got), E_INVALIDARG);
  EXPECT_EQ(wave.Read(out, 1, nullptr), E_INVALIDARG);
}

TEST(WaveFileParse, NonPcmCarriesItsExtraBytes) {
  WavLayout layout;
  layout.formatTag = 2;  // ADPCM
  layout.blockAlign = 256;
  layout.bitsPerSample = 4;
  layout.extra = Counting(32);
  layout.samples = Counting(512);
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::MakeWav(layout)), S_OK);
  EXPECT_EQ(wave.Format().formatTag, 2);
  EXPECT_EQ(wave.Format().cbSize, 32);
  EXPECT_EQ(wave.Format().extra, layout.extra);
  EXPECT_EQ(wave.Size(), 512u);

  // An extra-byte count larger than the chunk holds is refused.
  Bytes fmt = testdata::FmtChunk(layout);
  fmt[8 + 16] = 40;  // cbSize 40, but only 32 bytes follow
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({fmt, testdata::DataChunk(layout.samples)})), E_FAIL);
  // A non-PCM "fmt " without room for the count is refused too.
  Bytes shortFmt = testdata::FmtChunk(layout);
  shortFmt.resize(8 + 16);
  shortFmt[4] = 16;
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({shortFmt, testdata::DataChunk(layout.samples)})),
            E_FAIL);
}

TEST(WaveFileParse, ChunksAreFoundPastOthersAndPadding) {
  WavLayout layout;
  layout.samples = Counting(10);
  // An odd-sized chunk with its pad byte before "fmt ", and another before "data".
  const Bytes odd = Chunk("LIST", 3, Bytes{1, 2, 3, 0});
  const Bytes fact = Chunk("fact", 4, Bytes{0, 0, 0, 0});
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::Riff({odd, testdata::FmtChunk(layout), fact,
                                                testdata::DataChunk(layout.samples)})),
            S_OK);
  EXPECT_EQ(wave.Size(), 10u);
  uint8_t out[10];
  uint32_t got = 0;
  ASSERT_EQ(wave.Read(out, 10, &got), S_OK);
  EXPECT_EQ(Bytes(out, out + 10), layout.samples);
}

TEST(WaveFileParse, TruncatedAndOversizedChunks) {
  WavLayout layout;
  layout.blockAlign = 2;
  layout.samples = Counting(100);
  WaveFile wave;

  // A file cut inside "data": the samples that are there, in whole blocks.
  Bytes cut = testdata::MakeWav(layout);
  cut.resize(cut.size() - 33);
  ASSERT_EQ(wave.OpenFromMemory(cut), S_OK);
  EXPECT_EQ(wave.Size(), 66u);  // 67 present, rounded down to whole blocks

  // A "data" size far beyond the member.
  Bytes huge = testdata::Riff({testdata::FmtChunk(layout), Chunk("data", 0xFFFFFFF0u, layout.samples)});
  ASSERT_EQ(wave.OpenFromMemory(huge), S_OK);
  EXPECT_EQ(wave.Size(), 100u);

  // A chunk before "data" whose size would wrap the walk around: no endless
  // search, no reading outside the bytes.
  Bytes wrap = testdata::Riff({testdata::FmtChunk(layout), Chunk("junk", 0xFFFFFFF8u, {}),
                               testdata::DataChunk(layout.samples)});
  EXPECT_EQ(wave.OpenFromMemory(wrap), E_FAIL);

  // "fmt " shorter than 16 bytes, or longer than what is there.
  Bytes fmt = testdata::FmtChunk(layout);
  Bytes small = fmt;
  small[4] = 14;
  small.resize(8 + 14);
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({small, testdata::DataChunk(layout.samples)})), E_FAIL);
  Bytes cutFmt = testdata::Riff({fmt});
  cutFmt.resize(cutFmt.size() - 4);
  EXPECT_EQ(wave.OpenFromMemory(cutFmt), E_FAIL);

  // No "data" at all; not RIFF; not WAVE; too short for a header.
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({fmt})), E_FAIL);
  Bytes notRiff = testdata::MakeWav(layout);
  notRiff[0] = 'X';
  EXPECT_EQ(wave.OpenFromMemory(notRiff), E_FAIL);
  Bytes notWave = testdata::MakeWav(layout);
  notWave[8] = 'A';
  EXPECT_EQ(wave.OpenFromMemory(notWave), E_FAIL);
  EXPECT_EQ(wave.OpenFromMemory(Bytes{'R', 'I', 'F', 'F'}), E_FAIL);
  EXPECT_FALSE(wave.IsOpen());
}

TEST(WaveFileParse, ZeroFormatFieldsAreRefused) {
  for (int field = 0; field < 3; ++field) {
    WavLayout layout;
    if (field == 0) layout.channels = 0;
    if (field == 1) layout.samplesPerSec = 0;
    if (field == 2) layout.blockAlign = 0;
    WaveFile wave;
    EXPECT_EQ(wave.OpenFromMemory(testdata::MakeWav(layout)), E_FAIL) << "field " << field;
  }
}

TEST(WaveFileParse, OpensMembersOfTheDataFile) {
  testdata::ScratchDirectory dir("denkar_wave");
  ASSERT_TRUE(dir.Ok());
  WavLayout layout;
  layout.samples = Counting(20);
  ASSERT_TRUE(testdata::WriteFile(
      "sport.gob", testdata::BuildArchive({{"Sounds\\pop.wav", testdata::MakeWav(layout)},
                                           {"Sounds\\empty.wav", {}}})));
  FILE* f = OpenDataFile("sport.gob");
  ASSERT_NE(f, nullptr);
  WaveFile wave;
  EXPECT_EQ(wave.OpenFromDataFile(f, nullptr), E_INVALIDARG);
  EXPECT_EQ(wave.OpenFromDataFile(nullptr, "Sounds\\pop.wav"), E_FAIL);
  EXPECT_EQ(wave.OpenFromDataFile(f, "Sounds\\missing.wav"), E_FAIL);
  EXPECT_EQ(wave.OpenFromDataFile(f, "Sounds\\empty.wav"), E_FAIL);  // size 0: a short read
  ASSERT_EQ(wave.OpenFromDataFile(f, "sounds\\POP.wav"), S_OK);
  EXPECT_EQ(wave.Size(), 20u);
  CloseDataFile(f);
}
