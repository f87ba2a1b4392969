// PtrList: indexed access through the cached cursor, insert positions,
// unique insertion, ownership and rejected indexes.
#include <gtest/gtest.h>

#include <vector>

#include "util/ptr_list.h"

namespace {

// Counts its own destructions.
struct Tracked {
  explicit Tracked(int v, int* deaths) : value(v), deaths(deaths) {}
  ~Tracked() { ++*deaths; }
  int value;
  int* deaths;
};

std::vector<int> Values(PtrList<int>& list) {
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(*list.Get(i));
  return out;
}

TEST(ShellPtrList, IndexLoopsCostOneStepPerAccessInBothDirections) {
  int values[100];
  PtrList<int> list;
  for (int i = 0; i < 100; ++i) {
    values[i] = i;
    list.Insert(&values[i]);
  }
  // The first access walks from the nearer end; afterwards every
  // neighbouring index is one step from the cursor.
  EXPECT_EQ(*list.Get(0), 0);
  EXPECT_EQ(list.LastSteps(), 0);
  for (int i = 1; i < 100; ++i) {
    EXPECT_EQ(*list.Get(i), i);
    EXPECT_EQ(list.LastSteps(), 1) << i;
  }
  for (int i = 98; i >= 0; --i) {
    EXPECT_EQ(*list.Get(i), i);
    EXPECT_EQ(list.LastSteps(), 1) << i;
  }
  EXPECT_EQ(*list.Get(0), 0);  // the same index again: no step
  EXPECT_EQ(list.LastSteps(), 0);
  // After an insertion the cursor is gone: a late index starts from the tail.
  int extra = 100;
  list.Insert(&extra);
  EXPECT_EQ(*list.Get(99), 99);
  EXPECT_EQ(list.LastSteps(), 1);
  EXPECT_EQ(*list.Get(97), 97);
  EXPECT_EQ(list.LastSteps(), 2);
}

TEST(ShellPtrList, OutOfRangeIndexesGiveNullAndAreRejected) {
  int a = 1, b = 2;
  PtrList<int> list;
  EXPECT_EQ(list.Get(0), nullptr);
  EXPECT_FALSE(list.RemoveAt(0));
  list.Insert(&a);
  list.Insert(&b);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(2), nullptr);
  EXPECT_FALSE(list.RemoveAt(-1));  // negative indexes never walk past the head
  EXPECT_FALSE(list.RemoveAt(-1000, false));
  EXPECT_FALSE(list.RemoveAt(2));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
}

TEST(ShellPtrList, InsertPositionsAndUniqueInsertion) {
  int v[6] = {0, 1, 2, 3, 4, 5};
  PtrList<int> list;
  EXPECT_TRUE(list.Insert(&v[1]));
  EXPECT_TRUE(list.Insert(&v[3], false, -1));  // negative: append
  EXPECT_TRUE(list.Insert(&v[0], false, 0));   // before the first
  EXPECT_TRUE(list.Insert(&v[2], false, 2));   // before index 2
  EXPECT_TRUE(list.Insert(&v[5], false, 99));  // beyond the end: append
  EXPECT_TRUE(list.Insert(&v[4], false, 4));
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // Unique: the same pointer is not inserted again; an equal value at
  // another address is a different item.
  EXPECT_FALSE(list.Insert(&v[3], true, 0));
  int another3 = 3;
  EXPECT_TRUE(list.Insert(&another3, true));
  EXPECT_TRUE(list.Contains(&another3));
  EXPECT_EQ(list.Count(), 7);
  // Without unique a duplicate goes in.
  EXPECT_TRUE(list.Insert(&v[0], false));
  EXPECT_EQ(list.Count(), 8);
  EXPECT_TRUE(list.RemoveAt(0, true));  // a list that owns nothing deletes nothing
  EXPECT_EQ(*list.Get(0), 1);
  int outside = 9;
  EXPECT_FALSE(list.Contains(&outside));
}

TEST(ShellPtrList, AnOwningListDeletesOnRequestAndOnClear) {
  int deaths = 0;
  Tracked* kept = new Tracked(2, &deaths);
  {
    PtrList<Tracked> list(true);
    EXPECT_TRUE(list.Owning());
    list.Insert(new Tracked(0, &deaths));
    list.Insert(new Tracked(1, &deaths));
    list.Insert(kept);
    list.Insert(new Tracked(3, &deaths));
    EXPECT_TRUE(list.RemoveAt(0, true));
    EXPECT_EQ(deaths, 1);
    EXPECT_TRUE(list.RemoveAt(1, false));  // removed, not deleted: the caller keeps it
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(list.Get(1)->value, 3);
    list.Clear();
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), nullptr);
    list.Insert(new Tracked(4, &deaths));
  }  // the destructor deletes what is left
  EXPECT_EQ(deaths, 4);
  EXPECT_EQ(kept->value, 2);
  delete kept;
}

TEST(ShellPtrList, ANonOwningListNeverDeletes) {
  int deaths = 0;
  Tracked a(0, &deaths), b(1, &deaths);
  {
    PtrList<Tracked> list;
    list.Insert(&a);
    list.Insert(&b);
    EXPECT_TRUE(list.RemoveAt(0));
    list.Clear();
    list.Insert(&a);
  }
  EXPECT_EQ(deaths, 0);
}

// An owned item whose destructor looks into its own list while it is cleared.
struct Peeker {
  PtrList<Peeker>* list;
  int* seenCount;
  ~Peeker() { *seenCount = list->Count() + (list->Contains(this) ? 100 : 0); }
};

TEST(ShellPtrList, AnItemMayUseItsListWhileTheListDeletesIt) {
  int seen = -1;
  PtrList<Peeker> list(true);
  list.Insert(new Peeker{&list, &seen});
  list.Clear();  // the lock is taken again by the same thread: no deadlock
  EXPECT_EQ(seen, 0);  // it found the list already empty
}

}  // namespace
