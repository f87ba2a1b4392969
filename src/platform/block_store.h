// A fixed block of 32-bit words handed out to entries, for caches that must
// not allocate once they run: the block and the entry and gap lists are
// reserved on first use, freed space is reused, and when no free gap is big
// enough the least recently used entries go until one is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

template <class Value>
class BlockStore {
 public:
  struct Entry {
    Value value;
    size_t offset = 0;  // first word in the block
    size_t words = 0;
    uint64_t lastUse = 0;
  };

  BlockStore(size_t capacityWords, size_t maxEntries)
      : capacity_(capacityWords), maxEntries_(maxEntries) {}

  // A new entry of `words` words, last used at `now`, or null when it could
  // never fit (larger than the whole block, or nothing to store at all).
  // Entries are stored in the order they were added; pointers to entries are
  // valid until the next Add or Drop.
  Entry* Add(const Value& value, size_t words, uint64_t now) {
    if (words == 0 || words > capacity_ || maxEntries_ == 0) return nullptr;
    Reserve();
    while (entries_.size() >= maxEntries_) DropLeastRecentlyUsed();
    size_t gap;
    while ((gap = BestGap(words)) == kNone) DropLeastRecentlyUsed();
    Entry e;
    e.value = value;
    e.offset = gaps_[gap].offset;
    e.words = words;
    e.lastUse = now;
    gaps_[gap].offset += words;
    gaps_[gap].words -= words;
    if (gaps_[gap].words == 0) gaps_.erase(gaps_.begin() + static_cast<ptrdiff_t>(gap));
    used_ += words;
    entries_.push_back(e);
    return &entries_.back();
  }

  template <class Pred>
  Entry* FindIf(Pred pred) {
    for (Entry& e : entries_)
      if (pred(e.value)) return &e;
    return nullptr;
  }

  uint32_t* Words(const Entry& e) { return block_.get() + e.offset; }

  // Frees the entry's words for reuse, joining them to the free gaps beside.
  void Drop(size_t index) {
    const Entry& e = entries_[index];
    used_ -= e.words;
    size_t at = 0;
    while (at < gaps_.size() && gaps_[at].offset < e.offset) ++at;
    const bool joinsBefore = at > 0 && gaps_[at - 1].offset + gaps_[at - 1].words == e.offset;
    const bool joinsAfter = at < gaps_.size() && e.offset + e.words == gaps_[at].offset;
    if (joinsBefore && joinsAfter) {
      gaps_[at - 1].words += e.words + gaps_[at].words;
      gaps_.erase(gaps_.begin() + static_cast<ptrdiff_t>(at));
    } else if (joinsBefore) {
      gaps_[at - 1].words += e.words;
    } else if (joinsAfter) {
      gaps_[at].offset = e.offset;
      gaps_[at].words += e.words;
    } else {
      gaps_.insert(gaps_.begin() + static_cast<ptrdiff_t>(at), Gap{e.offset, e.words});
    }
    entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(index));
  }

  // Drops every entry last used before `tick`.
  void DropUnusedSince(uint64_t tick) {
    for (size_t i = entries_.size(); i-- > 0;)
      if (entries_[i].lastUse < tick) Drop(i);
  }

  const std::vector<Entry>& Entries() const { return entries_; }
  size_t UsedWords() const { return used_; }
  size_t CapacityWords() const { return capacity_; }
  // The largest stretch of free words, the most one new entry can take
  // without anything being dropped.
  size_t LargestGap() const {
    if (!block_) return capacity_;
    size_t largest = 0;
    for (const Gap& g : gaps_) largest = g.words > largest ? g.words : largest;
    return largest;
  }

 private:
  struct Gap {
    size_t offset, words;
  };
  static constexpr size_t kNone = ~size_t{0};

  void Reserve() {
    if (block_) return;
    block_.reset(new uint32_t[capacity_]);  // left uninitialised: entries write their words
    entries_.reserve(maxEntries_);
    gaps_.reserve(maxEntries_ + 1);  // n entries leave at most n + 1 gaps
    gaps_.push_back(Gap{0, capacity_});
  }

  // The smallest gap that holds `words`, which leaves the big gaps for big
  // entries.
  size_t BestGap(size_t words) const {
    size_t best = kNone;
    for (size_t i = 0; i < gaps_.size(); ++i)
      if (gaps_[i].words >= words && (best == kNone || gaps_[i].words < gaps_[best].words)) best = i;
    return best;
  }

  // The first added among those used longest ago.
  void DropLeastRecentlyUsed() {
    size_t oldest = 0;
    for (size_t i = 1; i < entries_.size(); ++i)
      if (entries_[i].lastUse < entries_[oldest].lastUse) oldest = i;
    Drop(oldest);
  }

  size_t capacity_, maxEntries_;
  std::unique_ptr<uint32_t[]> block_;
  std::vector<Entry> entries_;
  std::vector<Gap> gaps_;  // free stretches, by offset, never touching each other
  size_t used_ = 0;
};
