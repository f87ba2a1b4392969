#include <gtest/gtest.h>

#include "audio/wave_file.h"
#include "data/data_file.h"
#include "test_data_builders.h"

using testdata::Bytes;
using testdata::WavSpec;

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
  WavSpec spec;
  spec.channels = 2;
  spec.samplesPerSec = 44100;
  spec.blockAlign = 4;
  spec.samples = Counting(40);
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::MakeWav(spec)), S_OK);
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
  EXPECT_EQ(Bytes(out, out + 40), spec.samples);
  ASSERT_EQ(wave.Read(out, 30, &got), S_OK);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(wave.Read(nullptr, 1, &got), E_INVALIDARG);
  EXPECT_EQ(wave.Read(out, 1, nullptr), E_INVALIDARG);
}

TEST(WaveFileParse, NonPcmCarriesItsExtraBytes) {
  WavSpec spec;
  spec.formatTag = 2;  // ADPCM
  spec.blockAlign = 256;
  spec.bitsPerSample = 4;
  spec.extra = Counting(32);
  spec.samples = Counting(512);
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::MakeWav(spec)), S_OK);
  EXPECT_EQ(wave.Format().formatTag, 2);
  EXPECT_EQ(wave.Format().cbSize, 32);
  EXPECT_EQ(wave.Format().extra, spec.extra);
  EXPECT_EQ(wave.Size(), 512u);

  // An extra-byte count larger than the chunk holds is refused.
  Bytes fmt = testdata::FmtChunk(spec);
  fmt[8 + 16] = 40;  // cbSize 40, but only 32 bytes follow
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({fmt, testdata::DataChunk(spec.samples)})), E_FAIL);
  // A non-PCM "fmt " without room for the count is refused too.
  Bytes shortFmt = testdata::FmtChunk(spec);
  shortFmt.resize(8 + 16);
  shortFmt[4] = 16;
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({shortFmt, testdata::DataChunk(spec.samples)})),
            E_FAIL);
}

TEST(WaveFileParse, ChunksAreFoundPastOthersAndPadding) {
  WavSpec spec;
  spec.samples = Counting(10);
  // An odd-sized chunk with its pad byte before "fmt ", and another before "data".
  const Bytes odd = Chunk("LIST", 3, Bytes{1, 2, 3, 0});
  const Bytes fact = Chunk("fact", 4, Bytes{0, 0, 0, 0});
  WaveFile wave;
  ASSERT_EQ(wave.OpenFromMemory(testdata::Riff({odd, testdata::FmtChunk(spec), fact,
                                                testdata::DataChunk(spec.samples)})),
            S_OK);
  EXPECT_EQ(wave.Size(), 10u);
  uint8_t out[10];
  uint32_t got = 0;
  ASSERT_EQ(wave.Read(out, 10, &got), S_OK);
  EXPECT_EQ(Bytes(out, out + 10), spec.samples);
}

TEST(WaveFileParse, TruncatedAndOversizedChunks) {
  WavSpec spec;
  spec.blockAlign = 2;
  spec.samples = Counting(100);
  WaveFile wave;

  // A file cut inside "data": the samples that are there, in whole blocks.
  Bytes cut = testdata::MakeWav(spec);
  cut.resize(cut.size() - 33);
  ASSERT_EQ(wave.OpenFromMemory(cut), S_OK);
  EXPECT_EQ(wave.Size(), 66u);  // 67 present, rounded down to whole blocks

  // A "data" size far beyond the member.
  Bytes huge = testdata::Riff({testdata::FmtChunk(spec), Chunk("data", 0xFFFFFFF0u, spec.samples)});
  ASSERT_EQ(wave.OpenFromMemory(huge), S_OK);
  EXPECT_EQ(wave.Size(), 100u);

  // A chunk before "data" whose size would wrap the walk around: no endless
  // search, no reading outside the bytes.
  Bytes wrap = testdata::Riff({testdata::FmtChunk(spec), Chunk("junk", 0xFFFFFFF8u, {}),
                               testdata::DataChunk(spec.samples)});
  EXPECT_EQ(wave.OpenFromMemory(wrap), E_FAIL);

  // "fmt " shorter than 16 bytes, or longer than what is there.
  Bytes fmt = testdata::FmtChunk(spec);
  Bytes small = fmt;
  small[4] = 14;
  small.resize(8 + 14);
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({small, testdata::DataChunk(spec.samples)})), E_FAIL);
  Bytes cutFmt = testdata::Riff({fmt});
  cutFmt.resize(cutFmt.size() - 4);
  EXPECT_EQ(wave.OpenFromMemory(cutFmt), E_FAIL);

  // No "data" at all; not RIFF; not WAVE; too short for a header.
  EXPECT_EQ(wave.OpenFromMemory(testdata::Riff({fmt})), E_FAIL);
  Bytes notRiff = testdata::MakeWav(spec);
  notRiff[0] = 'X';
  EXPECT_EQ(wave.OpenFromMemory(notRiff), E_FAIL);
  Bytes notWave = testdata::MakeWav(spec);
  notWave[8] = 'A';
  EXPECT_EQ(wave.OpenFromMemory(notWave), E_FAIL);
  EXPECT_EQ(wave.OpenFromMemory(Bytes{'R', 'I', 'F', 'F'}), E_FAIL);
  EXPECT_FALSE(wave.IsOpen());
}

TEST(WaveFileParse, ZeroFormatFieldsAreRefused) {
  for (int field = 0; field < 3; ++field) {
    WavSpec spec;
    if (field == 0) spec.channels = 0;
    if (field == 1) spec.samplesPerSec = 0;
    if (field == 2) spec.blockAlign = 0;
    WaveFile wave;
    EXPECT_EQ(wave.OpenFromMemory(testdata::MakeWav(spec)), E_FAIL) << "field " << field;
  }
}

TEST(WaveFileParse, OpensMembersOfTheDataFile) {
  testdata::ScratchDirectory dir("denkar_wave");
  ASSERT_TRUE(dir.Ok());
  WavSpec spec;
  spec.samples = Counting(20);
  ASSERT_TRUE(testdata::WriteFile(
      "sport.gob", testdata::BuildArchive({{"Sounds\\pop.wav", testdata::MakeWav(spec)},
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
