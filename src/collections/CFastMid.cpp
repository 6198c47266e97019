#include "collections/CFastMid.h"

#include <bit>
#include <limits>

CFastMid::CFastMid() noexcept {
  AttachView(sourceView_, 1, &sourcePlaceholder_, 0);
  AttachView(midView_, 1, &midPlaceholder_, 0);
  midPlaceholderView_ = midView_;
}

void CFastMid::AttachView(View& view, int32_t count, char16_t* address, int32_t first) noexcept {
  view.address = address;
  view.count = count;
  view.first = first;
}

char16_t& CFastMid::At(const View& view, int32_t position, vx::Here here) {
  // Unsigned, so that a position below the first fails like one past the end.
  const uint32_t offset = static_cast<uint32_t>(position) - static_cast<uint32_t>(view.first);
  if (offset >= static_cast<uint32_t>(view.count)) vx::Raise(vx::kErrSubscript, {}, {}, here);
  return view.address[offset];
}

std::shared_ptr<const MidString> CFastMid::GetMidString(std::u16string& source, vx::Here here) {
  if (source.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    vx::Raise(vx::kErrOverflow, {}, {}, here);
  }
  // Made first: if it fails, the object stays as it was. One allocation for string and count.
  auto mid = std::make_shared<MidString>(MidString::Key(), u' ');
  AttachView(sourceView_, static_cast<int32_t>(source.size()), source.data(), 1);
  AttachView(midView_, 1, mid->text_.data(), 1);
  midOwner_ = mid;
  return mid;
}

int16_t CFastMid::GetAscW(int32_t position, vx::Here here) const {
  return std::bit_cast<int16_t>(At(sourceView_, position, here));
}

void CFastMid::PutAscW(int32_t position, int16_t value, vx::Here here) {
  At(sourceView_, position, here) = std::bit_cast<char16_t>(value);
}

void CFastMid::SetMidPosition(int32_t position, vx::Here here) {
  const char16_t c = At(sourceView_, position, here);
  // Held only for the write; a mid string the caller let go is no longer written.
  const std::shared_ptr<MidString> mid = midOwner_.lock();
  if (!mid) midView_ = midPlaceholderView_;
  At(midView_, 1, here) = c;
}
