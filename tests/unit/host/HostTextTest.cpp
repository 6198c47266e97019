// The main window's text helpers: the argument text of a command line and numbers in text.
#include <gtest/gtest.h>

#include <cmath>

#include "contracts/Error.h"
#include "contracts/TextToNumber.h"
#include "host/ProgramArguments.h"

#include "testing/ErrorNumberOf.h"

namespace vx::host {
namespace {

TEST(ArgumentTextOf, SkipsTheProgramPathQuotedOrNotAndTheSeparatorsAfterIt) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"C:\\vx\\vxTM2Main.exe /debug -log", u"/debug -log"},
      {u"vxTM2Main.exe \t  \"a b\" ", u"\"a b\" "},
      {u"vxTM2Main.exe   ", u""},
      {u"", u""},
      {u"\"C:\\Program Files\\Telvaro\\vxTM2Main.exe\" /autosync", u"/autosync"},
      // Whatever follows the closing quote directly is the first argument.
      {u"\"C:\\a b\\vxTM2Main.exe\"/debug x", u"/debug x"},
      // An unclosed quote takes the whole line as the path.
      {u"\"C:\\a b\\vxTM2Main.exe /debug", u""},
      // Quotes inside an unquoted path are ordinary characters.
      {u"C:\\a\"b\"c.exe one", u"one"},
  };
  for (const auto& [line, arguments] : cases) EXPECT_EQ(ArgumentTextOf(line), arguments);
}

using vx::testing::ErrorNumberOf;

TEST(TextToSingle, ReadsPlainDecimalNumbers) {
  const std::pair<std::u16string_view, float> cases[] = {
      {u"1500", 1500.0f},
      {u"-300", -300.0f},
      {u"+12.5", 12.5f},
      {u" 7 ", 7.0f},
      {u".5", 0.5f},
      {u"5.", 5.0f},
      {u"1e3", 1000.0f},
      {u"2.5E-1", 0.25f},
      // Too small to tell from zero is zero, not an error.
      {u"1e-60", 0.0f}};
  for (const auto& [text, number] : cases) EXPECT_EQ(TextToSingle(text), number);
}

TEST(TextToSingle, OtherTextIsATypeMismatch) {
  for (const char16_t* text : {u"", u" ", u"x", u"12px", u"1,5", u"--1", u"0x10", u"inf", u"nan",
                               u"1e", u"1e5x", u"1.5x", u".", u"1 2"}) {
    EXPECT_EQ(ErrorNumberOf([&] { TextToSingle(text); }), kErrTypeMismatch)
        << std::string(text, text + std::char_traits<char16_t>::length(text));
  }
}

TEST(TextToSingle, NumbersBeyondSinglePrecisionOverflow) {
  EXPECT_EQ(ErrorNumberOf([] { TextToSingle(u"1e39"); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { TextToSingle(u"-1e400"); }), kErrOverflow);
}

TEST(TextToLong, TakesWholeNumbersOnly) {
  EXPECT_EQ(TextToLong(u"2.0") + TextToLong(u"1e1") + TextToLong(u"-7"), 5);
  EXPECT_EQ(TextToLong(u"2147483647"), 2147483647);
  EXPECT_EQ(ErrorNumberOf([] { TextToLong(u"2147483648"); }), kErrOverflow);
  for (const char16_t* text : {u"2.5", u"-0.5", u"two"}) {
    EXPECT_EQ(ErrorNumberOf([&] { TextToLong(text); }), kErrTypeMismatch);
  }
}

}  // namespace
}  // namespace vx::host
