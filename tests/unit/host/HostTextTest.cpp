// The main window's text helpers: the argument text of a command line and numbers in text.
#include <gtest/gtest.h>

#include <cmath>

#include "contracts/Error.h"
#include "host/ProgramArguments.h"
#include "host/TextToNumber.h"

#include "testing/ErrorNumberOf.h"

namespace vx::host {
namespace {

TEST(ArgumentTextOf, SkipsAnUnquotedProgramPathAndTheSeparatorsAfterIt) {
  EXPECT_EQ(ArgumentTextOf(u"C:\\vx\\vxTM2Main.exe /debug -log"), u"/debug -log");
  EXPECT_EQ(ArgumentTextOf(u"vxTM2Main.exe \t  \"a b\" "), u"\"a b\" ");
  EXPECT_EQ(ArgumentTextOf(u"vxTM2Main.exe"), u"");
  EXPECT_EQ(ArgumentTextOf(u"vxTM2Main.exe   "), u"");
  EXPECT_EQ(ArgumentTextOf(u""), u"");
}

TEST(ArgumentTextOf, AQuotedProgramPathEndsAtItsClosingQuote) {
  EXPECT_EQ(ArgumentTextOf(u"\"C:\\Program Files\\Telvaro\\vxTM2Main.exe\" /autosync"),
            u"/autosync");
  // Whatever follows the closing quote directly is the first argument.
  EXPECT_EQ(ArgumentTextOf(u"\"C:\\a b\\vxTM2Main.exe\"/debug x"), u"/debug x");
  // An unclosed quote takes the whole line as the path.
  EXPECT_EQ(ArgumentTextOf(u"\"C:\\a b\\vxTM2Main.exe /debug"), u"");
  // Quotes inside an unquoted path are ordinary characters.
  EXPECT_EQ(ArgumentTextOf(u"C:\\a\"b\"c.exe one"), u"one");
}

using vx::testing::ErrorNumberOf;

TEST(TextToSingle, ReadsPlainDecimalNumbers) {
  EXPECT_EQ(TextToSingle(u"1500"), 1500.0f);
  EXPECT_EQ(TextToSingle(u"-300"), -300.0f);
  EXPECT_EQ(TextToSingle(u"+12.5"), 12.5f);
  EXPECT_EQ(TextToSingle(u" 7 "), 7.0f);
  EXPECT_EQ(TextToSingle(u".5"), 0.5f);
  EXPECT_EQ(TextToSingle(u"5."), 5.0f);
  EXPECT_EQ(TextToSingle(u"1e3"), 1000.0f);
  EXPECT_EQ(TextToSingle(u"2.5E-1"), 0.25f);
}

TEST(TextToSingle, OtherTextIsATypeMismatch) {
  for (const char16_t* text :
       {u"", u" ", u"x", u"12px", u"1,5", u"--1", u"0x10", u"inf", u"nan", u"1e", u".", u"1 2"}) {
    EXPECT_EQ(ErrorNumberOf([&] { TextToSingle(text); }), kErrTypeMismatch)
        << std::string(text, text + std::char_traits<char16_t>::length(text));
  }
}

TEST(TextToSingle, NumbersBeyondSinglePrecisionOverflow) {
  EXPECT_EQ(ErrorNumberOf([] { TextToSingle(u"1e39"); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { TextToSingle(u"-1e400"); }), kErrOverflow);
  // Too small to tell from zero is zero, not an error.
  EXPECT_EQ(TextToSingle(u"1e-60"), 0.0f);
}

TEST(TextToLong, TakesWholeNumbersOnly) {
  EXPECT_EQ(TextToLong(u"2"), 2);
  EXPECT_EQ(TextToLong(u"2.0"), 2);
  EXPECT_EQ(TextToLong(u"1e1"), 10);
  EXPECT_EQ(TextToLong(u"-7"), -7);
  EXPECT_EQ(TextToLong(u"2147483647"), 2147483647);
  EXPECT_EQ(ErrorNumberOf([] { TextToLong(u"2147483648"); }), kErrOverflow);
  for (const char16_t* text : {u"2.5", u"-0.5", u"two"}) {
    EXPECT_EQ(ErrorNumberOf([&] { TextToLong(text); }), kErrTypeMismatch);
  }
}

}  // namespace
}  // namespace vx::host
