// Checks of the built game data in the run folder: the archive's members and
// names, the texture sheets against their rectangle lists, the sound effects
// and the picture files of the shape picture game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "audio/wave_file.h"
#include "data/data_file.h"
#include "platform/render_device.h"

namespace {

const std::string kArchive = std::string(DENKAR_RUN_DIR) + "/sport.gob";
const std::string kCatalogue = std::string(DENKAR_RUN_DIR) + "/asset-check/catalogue.txt";
constexpr uint32_t kKey = 0xFF00FF64;

const char* const kTextures[] = {"splash.PNG", "misc1.PNG",  "misc2.PNG",  "misc3.PNG",
                                 "misc4.PNG",  "menu1.PNG",  "menu2.PNG",  "menu3.PNG",
                                 "back1.PNG",  "back2.PNG",  "back3.PNG",  "back4.PNG",
                                 "MemoryCards1.png", "MemoryCards2.png", "Memory_Muster.PNG",
                                 "bg.PNG"};
const char* const kSounds[] = {"Sounds\\klick_menu.wav", "Sounds\\klick_game.wav", "Sounds\\win.wav",
                               "Sounds\\lose.wav",       "Sounds\\alarm.wav",      "Sounds\\pop.wav",
                               "Sounds\\punch.wav",      "Sounds\\lamp1.wav"};

std::vector<std::string> AllMemberNames() {
  std::vector<std::string> names(std::begin(kTextures), std::end(kTextures));
  names.insert(names.end(), std::begin(kSounds), std::end(kSounds));
  for (int n = 0; n <= 12; ++n) names.push_back("bb_" + std::to_string(n));
  return names;
}

// The archive opened with the game's own reader for the length of a test.
class Archive {
 public:
  Archive() : file_(OpenDataFile(kArchive.c_str())) {}
  ~Archive() { CloseDataFile(file_); }
  FILE* get() const { return file_; }
  std::vector<uint8_t> Read(const char* name) const {
    std::vector<uint8_t> bytes;
    if (!ReadMember(file_, name, &bytes)) bytes.clear();
    return bytes;
  }

 private:
  FILE* file_;
};

bool Transparent(uint32_t t) { return (t >> 24) == 0 || t == kKey; }

struct CatalogueRect {
  std::string member, label;
  int left, top, right, bottom;
  std::string alpha;
  bool uniform;
};

std::vector<CatalogueRect> ReadCatalogue() {
  std::vector<CatalogueRect> list;
  std::ifstream in(kCatalogue);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) f.push_back(field);
    if (f.size() != 8) continue;
    list.push_back({f[0], f[1], std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]), f[6],
                    f[7] == "1"});
  }
  return list;
}

std::map<std::string, Texture> DecodeAllSheets() {
  std::map<std::string, Texture> sheets;
  Archive archive;
  for (const char* name : kTextures) {
    const std::vector<uint8_t> bytes = archive.Read(name);
    Texture t;
    if (!bytes.empty() && DecodeImage(bytes.data(), bytes.size(), &t)) sheets[name] = std::move(t);
  }
  return sheets;
}

}  // namespace

TEST(AssetsArchive, HoldsTheThirtySevenMembersUnderTheirExactNames) {
  // Read the directory bytes directly: names must match exactly, letter case
  // included, even though the game's lookup ignores case.
  FILE* f = std::fopen(kArchive.c_str(), "rb");
  ASSERT_NE(f, nullptr) << kArchive;
  uint8_t header[8];
  ASSERT_EQ(std::fread(header, 1, 8, f), 8u);
  EXPECT_EQ(std::memcmp(header, "GOB\0", 4), 0);
  const uint32_t count = header[4] | header[5] << 8 | header[6] << 16 | static_cast<uint32_t>(header[7]) << 24;
  ASSERT_EQ(count, 37u);
  std::vector<std::string> names;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t entry[268];
    ASSERT_EQ(std::fread(entry, 1, 268, f), 268u);
    EXPECT_EQ(entry[267], 0) << "name not zero-padded";
    names.emplace_back(reinterpret_cast<const char*>(entry + 8), strnlen(reinterpret_cast<const char*>(entry + 8), 260));
  }
  std::fclose(f);
  const std::vector<std::string> expected = AllMemberNames();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
            std::set<std::string>(expected.begin(), expected.end()));
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "duplicate names";
}

TEST(AssetsArchive, EveryMemberReadsBackThroughTheGameReader) {
  Archive archive;
  ASSERT_NE(archive.get(), nullptr);
  for (const std::string& name : AllMemberNames()) {
    uint32_t size = 0;
    ASSERT_NE(FindMember(archive.get(), name.c_str(), &size), nullptr) << name;
    EXPECT_GT(size, 0u) << name;
    EXPECT_EQ(archive.Read(name.c_str()).size(), size) << name;
  }
  // The game's lookup ignores case, as the loader relies on.
  EXPECT_NE(FindMember(archive.get(), "MISC1.PNG"), nullptr);
  EXPECT_NE(FindMember(archive.get(), "sounds\\KLICK_GAME.WAV"), nullptr);
}

TEST(AssetsSheets, AllSixteenDecodeAtLeastAtTheirMinimumSize) {
  const std::map<std::string, std::pair<int, int>> minimum = {
      {"splash.PNG", {1024, 1124}}, {"misc1.PNG", {1000, 700}}, {"misc2.PNG", {550, 600}},
      {"misc3.PNG", {550, 400}},    {"misc4.PNG", {600, 850}},  {"menu1.PNG", {1000, 1000}},
      {"menu2.PNG", {800, 800}},    {"menu3.PNG", {400, 700}},  {"back1.PNG", {600, 900}},
      {"back2.PNG", {600, 900}},    {"back3.PNG", {600, 900}},  {"back4.PNG", {600, 450}},
      {"MemoryCards1.png", {1, 1}}, {"MemoryCards2.png", {1, 1}}, {"Memory_Muster.PNG", {520, 130}},
      {"bg.PNG", {1024, 768}}};
  const std::map<std::string, Texture> sheets = DecodeAllSheets();
  for (const auto& [name, size] : minimum) {
    auto it = sheets.find(name);
    ASSERT_NE(it, sheets.end()) << name << " missing or not decodable";
    EXPECT_GE(it->second.width, size.first) << name;
    EXPECT_GE(it->second.height, size.second) << name;
  }
}

TEST(AssetsSheets, EveryCatalogueRectangleHoldsItsImage) {
  const std::vector<CatalogueRect> catalogue = ReadCatalogue();
  ASSERT_FALSE(catalogue.empty()) << kCatalogue;
  const std::map<std::string, Texture> sheets = DecodeAllSheets();
  std::set<std::string> listed;
  for (const CatalogueRect& r : catalogue) {
    listed.insert(r.member);
    SCOPED_TRACE(r.member + " \"" + r.label + "\" (" + std::to_string(r.left) + ", " + std::to_string(r.top) +
                 ", " + std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")");
    auto it = sheets.find(r.member);
    ASSERT_NE(it, sheets.end());
    const Texture& t = it->second;
    ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= t.width &&
                r.bottom <= t.height);
    int visible = 0, transparent = 0, keyed = 0, ring = 0, ringTransparent = 0;
    std::set<uint32_t> colours;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const uint32_t texel = t.Texel(x, y);
        if (texel == kKey) ++keyed;
        if (Transparent(texel)) ++transparent;
        else ++visible, colours.insert(texel);
        if (x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1) {
          ++ring;
          if (Transparent(texel)) ++ringTransparent;
        }
      }
    EXPECT_GT(visible, 0) << "nothing visible";
    if (!r.uniform) {
      EXPECT_GT(colours.size(), 1u) << "all one colour";
    }
    if (r.alpha == "opaque") {
      EXPECT_EQ(keyed, 0) << "colour-key texels inside opaque art";
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
          if ((t.Texel(x, y) >> 24) != 0xFF) {
            ADD_FAILURE() << "texel (" << x << ", " << y << ") not opaque";
            y = r.bottom;
            break;
          }
    }
    if (r.alpha == "cutout") {
      EXPECT_GE(ringTransparent * 10, ring) << "no transparency around the outline";
    }
  }
  // Every sheet that the screens draw from has its list.
  for (const char* name : kTextures)
    if (std::strncmp(name, "MemoryCards", 11) != 0) {
      EXPECT_TRUE(listed.count(name)) << name;
    }
}

TEST(AssetsSheets, CataloguesNameTheRectanglesTheScreensDraw) {
  struct Want {
    const char* member;
    int l, t, r, b;
  };
  const Want wanted[] = {
      // Menu pages, buttons and their hover copies, arrows, radio buttons.
      {"menu1.PNG", 0, 0, 400, 600}, {"menu1.PNG", 350, 600, 750, 900}, {"menu1.PNG", 0, 600, 350, 1000},
      {"menu1.PNG", 400, 0, 1000, 450}, {"menu1.PNG", 370, 925, 700, 985},
      {"menu2.PNG", 0, 0, 800, 600}, {"menu2.PNG", 0, 700, 300, 750}, {"menu2.PNG", 0, 750, 300, 800},
      {"menu2.PNG", 300, 700, 400, 750}, {"menu2.PNG", 300, 750, 400, 800}, {"menu2.PNG", 250, 600, 300, 650},
      {"menu2.PNG", 250, 650, 300, 700}, {"menu2.PNG", 50, 600, 200, 650}, {"menu2.PNG", 50, 650, 200, 700},
      {"menu2.PNG", 700, 700, 750, 750}, {"menu2.PNG", 700, 750, 750, 800}, {"menu2.PNG", 750, 700, 800, 750},
      {"menu2.PNG", 750, 750, 800, 800}, {"menu2.PNG", 600, 600, 624, 624}, {"menu2.PNG", 600, 624, 624, 648},
      {"menu2.PNG", 400, 600, 600, 650}, {"menu3.PNG", 0, 0, 400, 700},
      // Loading screen, backgrounds.
      {"splash.PNG", 0, 0, 1024, 768}, {"splash.PNG", 0, 900, 700, 1012}, {"splash.PNG", 0, 1012, 700, 1124},
      {"splash.PNG", 122, 768, 940, 834}, {"splash.PNG", 122, 834, 940, 900},
      {"back1.PNG", 0, 0, 600, 450}, {"back1.PNG", 0, 450, 600, 900}, {"back2.PNG", 0, 0, 600, 450},
      {"back2.PNG", 0, 450, 600, 900}, {"back3.PNG", 0, 0, 600, 450}, {"back3.PNG", 0, 450, 600, 900},
      {"back4.PNG", 0, 0, 600, 450}, {"bg.PNG", 0, 0, 1024, 768},
      // The moved right-answer mark and shape images of the game sheet.
      {"misc1.PNG", 150, 450, 200, 500}, {"misc1.PNG", 100, 150, 200, 250}, {"misc1.PNG", 300, 150, 400, 250},
      {"misc1.PNG", 500, 150, 600, 250}, {"misc1.PNG", 700, 150, 800, 250}};
  std::set<std::tuple<std::string, int, int, int, int>> listed;
  for (const CatalogueRect& r : ReadCatalogue()) listed.insert({r.member, r.left, r.top, r.right, r.bottom});
  for (const Want& w : wanted)
    EXPECT_TRUE(listed.count({w.member, w.l, w.t, w.r, w.b}))
        << w.member << " (" << w.l << ", " << w.t << ", " << w.r << ", " << w.b << ")";
  for (int p = 0; p < 16; ++p) {
    const int x = p % 8 * 65, y = p / 8 * 65;
    EXPECT_TRUE(listed.count({"Memory_Muster.PNG", x, y, x + 65, y + 65})) << "card symbol " << p;
  }
}

TEST(AssetsSheets, HoveredButtonsDifferFromTheirNormalPictures) {
  const std::map<std::string, Texture> sheets = DecodeAllSheets();
  ASSERT_TRUE(sheets.count("menu2.PNG"));
  const Texture& t = sheets.at("menu2.PNG");
  // Normal rectangle; the hover (or selected) copy lies one height below.
  const int buttons[][4] = {{0, 700, 300, 750}, {300, 700, 400, 750}, {250, 600, 300, 650},
                            {50, 600, 200, 650}, {700, 700, 750, 750}, {750, 700, 800, 750},
                            {600, 600, 624, 624}};
  for (const auto& b : buttons) {
    const int h = b[3] - b[1];
    int differing = 0;
    for (int y = b[1]; y < b[3]; ++y)
      for (int x = b[0]; x < b[2]; ++x)
        if (t.Texel(x, y) != t.Texel(x, y + h)) ++differing;
    EXPECT_GT(differing * 5, (b[2] - b[0]) * h) << "button at (" << b[0] << ", " << b[1] << ")";
  }
}

// The pages stack wide, medium and small buttons 50 pixels apart, exactly
// their height: a transparent rim inside each picture (and its hover copy)
// keeps neighbours from touching.
TEST(AssetsSheets, StackedButtonsHaveATransparentRim) {
  const std::map<std::string, Texture> sheets = DecodeAllSheets();
  ASSERT_TRUE(sheets.count("menu2.PNG"));
  const Texture& t = sheets.at("menu2.PNG");
  const int buttons[][4] = {{0, 700, 300, 750}, {300, 700, 400, 750}, {50, 600, 200, 650}};
  for (const auto& b : buttons) {
    for (int copy = 0; copy < 2; ++copy) {
      const int top = b[1] + copy * 50, bottom = b[3] + copy * 50;
      int opaque = 0, rimOpaque = 0;
      for (int y = top; y < bottom; ++y) {
        for (int x = b[0]; x < b[2]; ++x) {
          const bool rim = y < top + 2 || y >= bottom - 2 || x < b[0] + 2 || x >= b[2] - 2;
          if (Transparent(t.Texel(x, y))) continue;
          ++opaque;
          if (rim) ++rimOpaque;
        }
      }
      EXPECT_EQ(rimOpaque, 0) << "button at (" << b[0] << ", " << top << ")";
      EXPECT_GT(opaque * 10, (b[2] - b[0]) * 50 * 7) << "button at (" << b[0] << ", " << top << ")";
    }
  }
}

TEST(AssetsSheets, SplashShowsNothingBesideTheBarFill) {
  const std::map<std::string, Texture> sheets = DecodeAllSheets();
  ASSERT_TRUE(sheets.count("splash.PNG"));
  const Texture& t = sheets.at("splash.PNG");
  for (int y = 834; y < 900; ++y) {
    for (int x = 0; x < 122; ++x) ASSERT_TRUE(Transparent(t.Texel(x, y))) << x << ", " << y;
    for (int x = 940; x < t.width; ++x) ASSERT_TRUE(Transparent(t.Texel(x, y))) << x << ", " << y;
  }
}

TEST(AssetsSounds, EveryEffectParsesShortCleanAndBelowFullScale) {
  Archive archive;
  ASSERT_NE(archive.get(), nullptr);
  std::map<std::string, int> peaks;
  for (const char* name : kSounds) {
    SCOPED_TRACE(name);
    WaveFile wave;
    ASSERT_EQ(wave.OpenFromDataFile(archive.get(), name), 0);
    const WaveFormatEx& f = wave.Format();
    EXPECT_EQ(f.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_TRUE(f.samplesPerSec == 22050 || f.samplesPerSec == 44100);
    std::vector<uint8_t> bytes(wave.Size());
    uint32_t got = 0;
    ASSERT_EQ(wave.Read(bytes.data(), wave.Size(), &got), 0);
    ASSERT_EQ(got, wave.Size());
    const size_t n = got / 2;
    ASSERT_GT(n, 0u);
    const double seconds = static_cast<double>(n) / f.samplesPerSec;
    EXPECT_LE(seconds, std::strcmp(name, "Sounds\\win.wav") == 0 ? 2.0 : 1.5);
    int peak = 0;
    std::vector<int> s(n);
    for (size_t i = 0; i < n; ++i) {
      s[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
      peak = std::max(peak, std::abs(s[i]));
    }
    EXPECT_LE(peak, static_cast<int>(0.9 * 32767)) << "too loud";
    EXPECT_GT(peak, 3000) << "too quiet";
    // Both ends fade to silence, so the effect neither starts nor stops with a click.
    EXPECT_LT(std::abs(s.front()), 300);
    EXPECT_LT(std::abs(s.back()), 300);
    peaks[name] = peak;
  }
  EXPECT_LT(peaks["Sounds\\klick_game.wav"], peaks["Sounds\\klick_menu.wav"]) << "the game click is the softer one";
}

namespace {

struct PictureShape {
  bool target;
  int type = 0, rotation = 0;
  double x = 0, y = 0, sx = 0, sy = 0, size = 1.0;
};

// The picture-file grammar: section words, then objects with their keys.
bool ParsePicture(const std::string& text, std::vector<PictureShape>* out) {
  std::istringstream in(text);
  std::string word;
  bool target = true, sawSection = false;
  while (in >> word) {
    if (word == "ZIELOBJEKT_START") target = sawSection = true;
    else if (word == "BAUOBJEKT_START") target = false, sawSection = true;
    else if (word == "OBJEKT_START") {
      if (!sawSection) return false;  // files must open with a section
      PictureShape s{target};
      bool closed = false;
      while (in >> word) {
        if (word == "OBJEKT_END") {
          closed = true;
          break;
        }
        if (word == "POSITON:") in >> s.x >> s.y;
        else if (word == "SCALE:") in >> s.sx >> s.sy;
        else if (word == "ROT:") in >> s.rotation;
        else if (word == "TYP:") in >> s.type;
        else if (word == "SFACTOR:") in >> s.size;
        else return false;  // an unknown key would be skipped silently by the game
        if (!in) return false;
      }
      if (!closed) return false;
      out->push_back(s);
    }
  }
  return true;
}

}  // namespace

TEST(AssetsPictures, EveryPictureParsesIntoReachableShapesOnScreen) {
  Archive archive;
  ASSERT_NE(archive.get(), nullptr);
  for (int n = 0; n <= 12; ++n) {
    const std::string name = "bb_" + std::to_string(n);
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = archive.Read(name.c_str());
    ASSERT_FALSE(bytes.empty());
    std::vector<PictureShape> shapes;
    ASSERT_TRUE(ParsePicture(std::string(bytes.begin(), bytes.end()), &shapes));
    int targets = 0;
    for (const PictureShape& s : shapes) {
      targets += s.target;
      EXPECT_TRUE(s.type >= 0 && s.type <= 3) << "type " << s.type;
      EXPECT_EQ(s.sx, 1.0);
      EXPECT_EQ(s.sy, 1.0);
      // Pieces change size in steps of 0.1 within 0.4 ... 2.0 and turn in 15° steps.
      const double tenths = s.size * 10;
      EXPECT_NEAR(tenths, std::round(tenths), 1e-9) << "size " << s.size;
      EXPECT_TRUE(s.size > 0.35 && s.size < 2.05) << "size " << s.size;
      EXPECT_EQ(s.rotation % 15, 0) << "rotation " << s.rotation;
      // The rotated outline stays clear of the time bar and the count line
      // and inside the screen.
      std::vector<std::pair<double, double>> corners;
      const double k = 50 * s.size;
      switch (s.type) {
        case 1: corners = {{-k, -k}, {k, -k}, {k, k}, {-k, k}}; break;
        case 2: corners = {{0, -k}, {0.866 * k, 0.5 * k}, {-0.866 * k, 0.5 * k}}; break;
        case 3: corners = {{-k, -k / 2}, {k, -k / 2}, {k, k / 2}, {-k, k / 2}}; break;
        default: corners = {{-k, -k}, {k, -k}, {k, k}, {-k, k}}; break;
      }
      const double a = s.rotation * M_PI / 180;
      for (auto [cx, cy] : corners) {
        const double px = s.x + (s.type == 1 ? cx : cx * std::cos(a) - cy * std::sin(a));
        const double py = s.y + (s.type == 1 ? cy : cx * std::sin(a) + cy * std::cos(a));
        EXPECT_TRUE(px >= 40 - 0.5 && px <= 984 + 0.5 && py >= 110 - 0.5 && py <= 745 + 0.5)
            << "corner (" << px << ", " << py << ") of a type " << s.type << " shape off the play area";
      }
    }
    EXPECT_GE(targets, 5) << "too few shapes for a picture";
  }
}
