#include <gtest/gtest.h>

#include <stdexcept>

#include "support/Record.h"

namespace {

using vx::itest::DecodeRecordedText;
using vx::itest::EncodeRecordedText;

TEST(RecordText, EveryCodeUnitSurvivesEncodingAndDecoding) {
  std::u16string all;
  for (char32_t c = 0; c < 0x10000; c += (c < 0x200 ? 1 : 97)) all += static_cast<char16_t>(c);
  all += u"\xD800 lone and \xDFFF lone";
  const std::string encoded = EncodeRecordedText(all);
  for (const char c : encoded) {
    ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "not printable ASCII: " << int(c);
  }
  EXPECT_EQ(DecodeRecordedText(encoded), all);
}

TEST(RecordText, EscapesAreTheDocumentedOnes) {
  EXPECT_EQ(EncodeRecordedText(u"a\"b\\c\r\n\t\x01\x7F\u00e9\u20ac"),
            "\"a\\\"b\\\\c\\r\\n\\t\\x01\\x7F\\u00E9\\u20AC\"");
  EXPECT_EQ(EncodeRecordedText(u""), "\"\"");
}

TEST(RecordText, MalformedEscapesAreRejected) {
  EXPECT_THROW(DecodeRecordedText("\"\\q\""), std::invalid_argument);
  EXPECT_THROW(DecodeRecordedText("\"\\x4\""), std::invalid_argument);
  EXPECT_THROW(DecodeRecordedText("\"\\u12G4\""), std::invalid_argument);
  EXPECT_THROW(DecodeRecordedText("\"ends in \\\""), std::invalid_argument);
}

TEST(RecordLines, FieldsAreSplitOutsideQuotesAndDecoded) {
  const auto entry = vx::itest::ParseRecordLine(
      "Project.Log \"Main.Load\" \"Screen:\\r\\nW: 1024 x\" caption=\"a b\" mode=0");
  EXPECT_EQ(entry.name, "Project.Log");
  ASSERT_EQ(entry.fields.size(), 4u);
  EXPECT_EQ(entry.fields[0], u"Main.Load");
  EXPECT_EQ(entry.fields[1], u"Screen:\r\nW: 1024 x");
  EXPECT_EQ(entry.Field(u"caption"), u"a b");
  EXPECT_EQ(entry.Field(u"mode"), u"0");
  EXPECT_FALSE(entry.Field(u"mod").has_value());
}

TEST(RecordLines, QuotedFlagOnlyForAWholeQuotedField) {
  const auto fields = vx::itest::SplitFields("\"1\" 1 key=\"v\" \"\"");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_TRUE(fields[0].quoted);
  EXPECT_FALSE(fields[1].quoted);
  EXPECT_FALSE(fields[2].quoted);
  EXPECT_EQ(fields[2].text, u"key=v");
  EXPECT_TRUE(fields[3].quoted);
  EXPECT_EQ(fields[3].text, u"");
  EXPECT_THROW(vx::itest::SplitFields("\"open"), std::invalid_argument);
}

TEST(RecordLines, RecordSplitsLinesAndIgnoresCarriageReturnsAndBlankLines) {
  const auto record = vx::itest::ParseRecord("Core.Activate\r\n\nCore.Shutdown\nProject.ShowHelp");
  EXPECT_EQ(vx::itest::Names(record),
            (std::vector<std::string>{"Core.Activate", "Core.Shutdown", "Project.ShowHelp"}));
  EXPECT_EQ(vx::itest::EntriesNamed(record, "Core.Shutdown").size(), 1u);
}

}  // namespace
