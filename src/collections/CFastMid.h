// Positional access to the code units of a string without copying it and without a new string per
// character: a view over the caller's string, and a view over the one code unit of a mid string
// that the object hands out and keeps rewriting.
//
// Code units are exchanged as signed 16-bit numbers: 0xFFFF reads as -1, and -1 written stores
// 0xFFFF. Positions outside a view fail with error 9 and change nothing; the class has no handler
// of its own, so the error reaches the caller as raised.
//
// Lifetimes. The attached string is the caller's: it must stay alive, with unchanged storage and
// length, while the object is used with it (PutAscW writes into it in place). The mid string is
// shared: the caller holds it through a shared_ptr and the object only through a weak_ptr, and
// its length cannot be changed from outside. So the object never writes into a mid string the
// caller has dropped: SetMidPosition then fails with error 9 like an object that has none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/Error.h"

// The one-code-unit string that CFastMid::SetMidPosition rewrites. Readable by anyone, writable
// only by the CFastMid that made it.
class MidString {
  class Key {
    friend class CFastMid;
    Key() = default;
  };

 public:
  // Public for make_shared, yet only CFastMid can make the key.
  MidString(Key, char16_t c) : text_(1, c) {}

  std::u16string_view View() const noexcept { return text_; }
  const std::u16string& Text() const noexcept { return text_; }

 private:
  friend class CFastMid;
  std::u16string text_;
};

class CFastMid {
 public:
  CFastMid() noexcept;
  CFastMid(const CFastMid&) = delete;
  CFastMid& operator=(const CFastMid&) = delete;

  // Attaches to source's storage (positions 1 to its length) and returns a new mid string " ".
  // An earlier mid string no longer changes.
  std::shared_ptr<const MidString> GetMidString(std::u16string& source,
                                                vx::Here here = vx::Here::current());
  int16_t GetAscW(int32_t position, vx::Here here = vx::Here::current()) const;
  void PutAscW(int32_t position, int16_t value, vx::Here here = vx::Here::current());
  // The mid string becomes the character at position of the attached string.
  void SetMidPosition(int32_t position, vx::Here here = vx::Here::current());

 private:
  // Never owns what it covers; its size is fixed by the attachment.
  struct View {
    char16_t* address = nullptr;
    int32_t count = 0;
    int32_t first = 0;
  };

  static void AttachView(View& view, int32_t count, char16_t* address, int32_t first) noexcept;
  // The element at position, or error 9.
  static char16_t& At(const View& view, int32_t position, vx::Here here);

  View sourceView_;
  View midView_;
  View midPlaceholderView_;  // where midView_ returns when the mid string is gone
  char16_t sourcePlaceholder_ = 0;
  char16_t midPlaceholder_ = 0;
  std::weak_ptr<MidString> midOwner_;
};
