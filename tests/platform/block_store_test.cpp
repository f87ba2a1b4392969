// The fixed block behind the scaled-picture cache: space is reused, the least
// recently used entries make room, and entries never overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/block_store.h"

namespace {

using Store = BlockStore<int>;

std::vector<int> Values(const Store& s) {
  std::vector<int> v;
  for (const auto& e : s.Entries()) v.push_back(e.value);
  return v;
}

// No two entries share a word, and none reaches past the block.
void ExpectDisjoint(const Store& s) {
  std::vector<std::pair<size_t, size_t>> spans;
  for (const auto& e : s.Entries()) spans.emplace_back(e.offset, e.offset + e.words);
  std::sort(spans.begin(), spans.end());
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_LE(spans[i].second, s.CapacityWords());
    if (i > 0) {
      EXPECT_LE(spans[i - 1].second, spans[i].first);
    }
  }
}

TEST(BlockStore, FillsTheWholeBudgetThenDropsTheLeastRecentlyUsed) {
  Store s(100, 16);
  for (int i = 0; i < 4; ++i) ASSERT_NE(s.Add(i, 25, 10 + i), nullptr);
  EXPECT_EQ(s.UsedWords(), 100u);
  EXPECT_EQ(s.LargestGap(), 0u);
  s.FindIf([](int v) { return v == 0; })->lastUse = 20;  // 0 drawn again: 1 is now the oldest
  ASSERT_NE(s.Add(4, 25, 21), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{0, 2, 3, 4}));
  // Needing more than one entry's space drops as many as it takes, oldest first.
  ASSERT_NE(s.Add(5, 50, 22), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{0, 4, 5}));
  ExpectDisjoint(s);
  // Writing a whole entry leaves its neighbours' words alone.
  for (const auto& e : s.Entries()) std::fill(s.Words(e), s.Words(e) + e.words, e.value);
  for (const auto& e : s.Entries())
    for (size_t w = 0; w < e.words; ++w) ASSERT_EQ(s.Words(e)[w], static_cast<uint32_t>(e.value));
}

TEST(BlockStore, EntryLargerThanAnyGapDropsUntilOneFits) {
  Store s(100, 16);
  for (int i = 0; i < 10; ++i) ASSERT_NE(s.Add(i, 10, i), nullptr);
  // Every other entry goes: half the block is free, but in gaps of ten.
  for (int i : {8, 6, 4, 2, 0}) {
    size_t at = 0;
    while (s.Entries()[at].value != i) ++at;
    s.Drop(at);
  }
  EXPECT_EQ(s.UsedWords(), 50u);
  EXPECT_EQ(s.LargestGap(), 10u);
  // Thirty words fit only once the oldest kept entry (1) has gone and its
  // space joined the free gaps on both sides.
  ASSERT_NE(s.Add(10, 30, 100), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{3, 5, 7, 9, 10}));
  EXPECT_EQ(s.UsedWords(), 70u);
  ExpectDisjoint(s);
  // Free: 30..50, 60..70, 80..90. A gap that fits exactly is taken before a
  // larger one, which stays whole for a larger entry.
  s.Drop(0);
  const auto* e = s.Add(11, 10, 101);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->offset, 60u);
  EXPECT_EQ(s.LargestGap(), 20u);
  ExpectDisjoint(s);
}

TEST(BlockStore, RefusesWhatCanNeverFitAndKeepsItsEntries) {
  Store s(100, 16);
  ASSERT_NE(s.Add(1, 60, 1), nullptr);
  EXPECT_EQ(s.Add(2, 101, 2), nullptr);
  EXPECT_EQ(s.Add(3, 0, 2), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{1}));
  // The whole block for one entry: everything else goes.
  ASSERT_NE(s.Add(4, 100, 3), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{4}));
  EXPECT_EQ(s.Entries()[0].offset, 0u);
}

TEST(BlockStore, EntryCountIsBoundedAndFreedSpaceJoinsUp) {
  Store s(1000, 3);
  for (int i = 0; i < 3; ++i) ASSERT_NE(s.Add(i, 10, i), nullptr);
  // Room in words, but no room in the list: the oldest entry goes.
  ASSERT_NE(s.Add(3, 10, 5), nullptr);
  EXPECT_EQ(Values(s), (std::vector<int>{1, 2, 3}));
  // Entries unused since a scene go; their gaps join into the whole block.
  s.DropUnusedSince(6);
  EXPECT_TRUE(s.Entries().empty());
  EXPECT_EQ(s.UsedWords(), 0u);
  EXPECT_EQ(s.LargestGap(), 1000u);
  ASSERT_NE(s.Add(4, 1000, 7), nullptr);
}

// Many entries of mixed sizes coming and going never overlap, and the words
// in use always add up.
TEST(BlockStore, ChurnKeepsEntriesApartAndCountsExact) {
  Store s(4096, 64);
  uint32_t r = 12345;
  for (int step = 0; step < 5000; ++step) {
    r = r * 1103515245u + 12345u;
    const size_t words = 1 + (r >> 8) % 700;
    if ((r >> 4) % 5 == 0 && !s.Entries().empty()) {
      s.Drop((r >> 12) % s.Entries().size());
    } else {
      ASSERT_NE(s.Add(step, words, static_cast<uint64_t>(step)), nullptr);
    }
    size_t sum = 0;
    for (const auto& e : s.Entries()) sum += e.words;
    ASSERT_EQ(sum, s.UsedWords());
    ASSERT_LE(s.Entries().size(), 64u);
  }
  ExpectDisjoint(s);
}

}  // namespace
