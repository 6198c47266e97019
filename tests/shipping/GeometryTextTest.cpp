// The geometry text is converted whole before any field is applied.
#include "contracts/GeometryText.h"

#include <gtest/gtest.h>

#include <tuple>

#include "testing/ErrorNumberOf.h"

namespace vx::host {
namespace {

TEST(ParseGeometryText, ConvertsAllFiveFieldsOrNothingWhenFewer) {
  using Fields = std::tuple<float, float, float, float, int32_t>;
  const std::pair<std::u16string_view, std::optional<Fields>> cases[] = {
      {u"1200 900 14250 10500 0", Fields{1200, 900, 14250, 10500, 0}},
      {u"-300 -200 500 400 2", Fields{-300, -200, 500, 400, 2}},
      {u"1.5 2 3 4 1 extra fields", Fields{1.5f, 2, 3, 4, 1}},
      {u"0 0 0 0 2.0", Fields{0, 0, 0, 0, 2}},
      {u"0 0 0 0 -7", Fields{0, 0, 0, 0, -7}},
      {u"", std::nullopt},
      {u" 0", std::nullopt},
      {u"1 2 3 4", std::nullopt},
      {u"a b c d", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<GeometryFields> f = ParseGeometryText(text);
    std::optional<Fields> fields;
    if (f) fields = Fields{f->left, f->top, f->width, f->height, f->state};
    EXPECT_EQ(fields, expected) << std::string(text.begin(), text.end());
  }
}

TEST(ParseGeometryText, AnyBadFieldIsATypeMismatch) {
  for (std::u16string_view text :
       {u"x 2 3 4 0", u"1 x 3 4 0", u"1 2 x 4 0", u"1 2 3 x 0", u"1 2 3 4 x", u"1 2 3 4 0.5",
        u"1 2 3 4 ", u"1  2 3 4 0", u"1 2 3 4 1,0"}) {
    EXPECT_EQ(vx::testing::ErrorNumberOf([&] { ParseGeometryText(text); }), kErrTypeMismatch)
        << std::string(text.begin(), text.end());
  }
}

}  // namespace
}  // namespace vx::host
