// The inputs a drawn text is made from, kept as bytes: a text that is shown
// frame after frame is made again only when one of them changes, so steady
// frames neither format nor allocate. The bytes compare exactly; their
// buffers keep their size from frame to frame.
#pragma once
#include <cstring>
#include <string>
#include <type_traits>

class ChangeKey {
 public:
  // Starts collecting this frame's inputs.
  void Begin() { now_.clear(); }
  template <typename T>
  ChangeKey& Add(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    now_.append(reinterpret_cast<const char*>(&value), sizeof value);
    return *this;
  }
  // A text's bytes with its end, so that "ab" + "c" differs from "a" + "bc";
  // a missing text differs from an empty one.
  ChangeKey& Text(const char* text) {
    if (!text) return Add('\x01');
    now_.append(text, std::strlen(text) + 1);
    return *this;
  }
  // True when the inputs differ from those of the last call (or there was
  // none); they become the ones to compare with next time.
  bool Changed() {
    const bool changed = !valid_ || now_ != last_;
    now_.swap(last_);
    valid_ = true;
    return changed;
  }
  // The next Changed() is true whatever the inputs.
  void Forget() { valid_ = false; }

 private:
  std::string now_, last_;
  bool valid_ = false;
};
