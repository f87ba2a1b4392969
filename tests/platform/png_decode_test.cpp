// The short way for plain PNGs gives exactly the texels of the general decoder.
#include <gtest/gtest.h>

#include <libdeflate.h>

#include <utility>
#include <vector>

#include "data/data_file.h"
#include "platform/render_device.h"
#include "support/test_app.h"

TEST(PngDecode, EverySheetDecodesToTheSameTexelsBothWays) {
  testapp::EnterFreshApp("denkar_png", true);
  FILE* gob = OpenDataFile("sport.gob");
  ASSERT_NE(gob, nullptr);
  for (const char* name :
       {"splash.PNG", "misc1.PNG", "misc2.PNG", "misc3.PNG", "misc4.PNG", "menu1.PNG", "menu2.PNG",
        "menu3.PNG", "back1.PNG", "back4.PNG", "MemoryCards1.png", "Memory_Muster.PNG", "bg.PNG"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadMember(gob, name, &bytes));
    Texture quick, general;
    ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), &quick));
    ASSERT_TRUE(DecodeImageGeneral(bytes.data(), bytes.size(), &general));
    EXPECT_EQ(quick.width, general.width);
    EXPECT_EQ(quick.height, general.height);
    EXPECT_TRUE(quick.texels == general.texels);
    // A truncated file fails either way instead of giving half a picture.
    Texture cut;
    EXPECT_FALSE(DecodeImage(bytes.data(), bytes.size() / 2, &cut));
  }
  CloseDataFile(gob);
}

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 3; k >= 0; --k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  Put32(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  Put32(png, libdeflate_crc32(0, &png[start], png.size() - start));
}

// An 8-bit RGB (colourType 2) or RGBA (6) PNG whose rows are the given
// filtered bytes (each row starts with its filter type), compressed as one
// zlib stream; `extra` chunks go before the image data.
std::vector<uint8_t> HandMadePng(uint32_t w, uint32_t h, uint8_t colourType, const std::vector<uint8_t>& rows,
                                 const std::vector<std::pair<const char*, std::vector<uint8_t>>>& extra = {}) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  Put32(header, w);
  Put32(header, h);
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  Chunk(png, "IHDR", header);
  for (const auto& [type, data] : extra) Chunk(png, type, data);
  libdeflate_compressor* c = libdeflate_alloc_compressor(6);
  std::vector<uint8_t> z(libdeflate_zlib_compress_bound(c, rows.size()));
  z.resize(libdeflate_zlib_compress(c, rows.data(), rows.size(), z.data(), z.size()));
  libdeflate_free_compressor(c);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace

// Rows of random bytes under every filter type, in both layouts and at odd
// widths: the quick decoder's unfiltering must match libpng's to the byte.
TEST(PngDecode, EveryRowFilterDecodesLikeLibpng) {
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, static_cast<uint8_t>(seed >> 16); };
  for (uint8_t colourType : {uint8_t{2}, uint8_t{6}}) {
    for (uint32_t w : {1u, 2u, 7u, 64u}) {
      const uint32_t h = 25;
      const size_t stride = w * (colourType == 6 ? 4 : 3);
      std::vector<uint8_t> rows;
      for (uint32_t y = 0; y < h; ++y) {
        rows.push_back(static_cast<uint8_t>(y % 5));  // each filter, on top of each
        for (size_t i = 0; i < stride; ++i) rows.push_back(next());
      }
      SCOPED_TRACE(testing::Message() << "colour type " << int{colourType} << ", width " << w);
      const std::vector<uint8_t> png = HandMadePng(w, h, colourType, rows);
      Texture quick, general;
      ASSERT_TRUE(DecodeImage(png.data(), png.size(), &quick));
      ASSERT_TRUE(DecodeImageGeneral(png.data(), png.size(), &general));
      EXPECT_EQ(quick.width, static_cast<int>(w));
      EXPECT_EQ(quick.height, static_cast<int>(h));
      EXPECT_TRUE(quick.texels == general.texels);
    }
  }
  // A transparent colour, an unknown filter type, and rows cut short.
  std::vector<uint8_t> rows = {0, 10, 20, 30, 0, 40, 50, 60};
  const std::vector<uint8_t> keyed = HandMadePng(1, 2, 2, rows, {{"tRNS", {0, 10, 0, 20, 0, 30}}});
  Texture quick, general;
  ASSERT_TRUE(DecodeImage(keyed.data(), keyed.size(), &quick));
  ASSERT_TRUE(DecodeImageGeneral(keyed.data(), keyed.size(), &general));
  EXPECT_TRUE(quick.texels == general.texels);
  EXPECT_EQ(quick.texels[0] >> 24, 0u);  // the keyed colour is transparent
  rows[4] = 9;
  const std::vector<uint8_t> badFilter = HandMadePng(1, 2, 2, rows);
  EXPECT_FALSE(DecodeImage(badFilter.data(), badFilter.size(), &quick));
  rows.resize(6);
  const std::vector<uint8_t> shortRows = HandMadePng(1, 2, 2, rows);
  EXPECT_FALSE(DecodeImage(shortRows.data(), shortRows.size(), &quick));
}
