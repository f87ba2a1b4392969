// PtrList: a doubly linked list of pointers with head and tail sentinels and a
// cached cursor, so walking it by increasing or decreasing index costs one
// step per access. A list made with owning = true deletes its items in
// Clear, in RemoveAt(i, true) and in its destructor.
#pragma once
#include <mutex>

template <typename T>
class PtrList {
 public:
  explicit PtrList(bool owning = false) : owning_(owning) {
    head_.next = &tail_;
    tail_.prev = &head_;
  }
  ~PtrList() { Clear(); }
  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  bool Owning() const { return owning_; }
  int Count() const { return count_; }

  // The item at index i, or null when i is outside 0 ... Count() - 1.
  T* Get(int i) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Node* node = NodeAt(i);
    return node ? node->item : nullptr;
  }

  bool Contains(const T* item) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (Node* n = head_.next; n != &tail_; n = n->next)
      if (n->item == item) return true;
    return false;
  }

  // Inserts before `position`; appends when position is negative or not below
  // the count. With `unique`, an item already in the list is not inserted
  // again and the result is false.
  bool Insert(T* item, bool unique = false, int position = -1) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (unique && Contains(item)) return false;
    Node* before = (position < 0 || position >= count_) ? &tail_ : NodeAt(position);
    Node* node = new Node{item, before->prev, before};
    before->prev->next = node;
    before->prev = node;
    ++count_;
    ResetCursor();
    return true;
  }

  // Removes the entry at index i (deleting its item when asked and the list
  // owns it). Negative or too large indexes are rejected.
  bool RemoveAt(int i, bool deleteItem = true) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Node* node = NodeAt(i);
    if (!node) return false;
    // Unlinked first, so an item whose destructor uses this list finds it whole.
    node->prev->next = node->next;
    node->next->prev = node->prev;
    --count_;
    ResetCursor();
    T* item = node->item;
    delete node;
    if (deleteItem && owning_) delete item;
    return true;
  }

  // Removes the first entry holding `item` (pointer comparison), deleting the
  // item when asked and the list owns it; false when it is not in the list.
  bool Remove(T* item, bool deleteItem = false) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    int i = 0;
    for (Node* n = head_.next; n != &tail_; n = n->next, ++i)
      if (n->item == item) return RemoveAt(i, deleteItem);
    return false;
  }

  void Clear() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    // The chain is taken out of the list before anything is deleted, so an
    // item whose destructor uses this list finds it empty, not half freed.
    Node* n = head_.next;
    head_.next = &tail_;
    tail_.prev = &head_;
    count_ = 0;
    ResetCursor();
    while (n != &tail_) {
      Node* next = n->next;
      T* item = n->item;
      delete n;
      if (owning_) delete item;
      n = next;
    }
  }

  // How many node steps the last Get took (for tests of the cursor walk).
  int LastSteps() const { return lastSteps_; }

 private:
  struct Node {
    T* item = nullptr;
    Node* prev = nullptr;
    Node* next = nullptr;
  };

  void ResetCursor() {
    cursor_ = nullptr;
    cursorIndex_ = -1;
  }

  // Walks from the cached cursor (or the nearer end) to index i.
  Node* NodeAt(int i) {
    lastSteps_ = 0;
    if (i < 0 || i >= count_) return nullptr;
    Node* node;
    int index;
    if (cursor_ && cursorIndex_ >= 0) {
      node = cursor_;
      index = cursorIndex_;
    } else if (i < count_ / 2) {
      node = head_.next;
      index = 0;
    } else {
      node = tail_.prev;
      index = count_ - 1;
    }
    while (index < i) { node = node->next; ++index; ++lastSteps_; }
    while (index > i) { node = node->prev; --index; ++lastSteps_; }
    cursor_ = node;
    cursorIndex_ = index;
    return node;
  }

  bool owning_;
  Node head_, tail_;
  int count_ = 0;
  Node* cursor_ = nullptr;
  int cursorIndex_ = -1;
  int lastSteps_ = 0;
  std::recursive_mutex mutex_;
};
