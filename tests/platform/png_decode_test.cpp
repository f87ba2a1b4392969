// The short way for plain PNGs gives exactly the texels of the general decoder.
#include <gtest/gtest.h>

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
