// The geometry text is converted whole before any field is applied.
#include "host/GeometryText.h"

#include <gtest/gtest.h>

#include "testing/ErrorNumberOf.h"

namespace vx::host {
namespace {

TEST(ParseGeometryText, ConvertsAllFiveFields) {
  const struct {
    std::u16string_view text;
    GeometryFields fields;
  } cases[] = {
      {u"1200 900 14250 10500 0", {1200, 900, 14250, 10500, 0}},
      {u"-300 -200 500 400 2", {-300, -200, 500, 400, 2}},
      {u"1.5 2 3 4 1 extra fields", {1.5f, 2, 3, 4, 1}},
      {u"0 0 0 0 2.0", {0, 0, 0, 0, 2}},
      {u"0 0 0 0 -7", {0, 0, 0, 0, -7}},
  };
  for (const auto& c : cases) {
    const std::optional<GeometryFields> fields = ParseGeometryText(c.text);
    ASSERT_TRUE(fields.has_value()) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(fields->left, c.fields.left);
    EXPECT_EQ(fields->top, c.fields.top);
    EXPECT_EQ(fields->width, c.fields.width);
    EXPECT_EQ(fields->height, c.fields.height);
    EXPECT_EQ(fields->state, c.fields.state);
  }
}

TEST(ParseGeometryText, FewerThanFiveFieldsAreNothing) {
  for (std::u16string_view text : {u"", u" 0", u"1 2 3 4", u"a b c d"})
    EXPECT_FALSE(ParseGeometryText(text).has_value()) << std::string(text.begin(), text.end());
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
