// The contracts every module shares: errors and their boundary, the object model, texts, numbers,
// the geometry text (converted whole before any field is applied).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "contracts/AsciiText.h"
#include "contracts/CallByName.h"
#include "contracts/Contain.h"
#include "contracts/Error.h"
#include "contracts/GeometryText.h"
#include "contracts/IProject.h"
#include "contracts/Numeric.h"
#include "contracts/ObjectImpl.h"
#include "contracts/Text.h"
#include "contracts/TextToNumber.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::Here;
using vx::testing::ErrorNumberOf;
using vx::testing::ErrorOf;

// Three routines with handlers, each calling the next on a known line.
void Innermost(Here here = Here::current()) {
  vx::Handled(u"modString.", here, [&] { vx::Raise(5, u"Core", u"broken"); });
}
constexpr uint32_t kRaiseLine = __LINE__ - 2;

void Middle(Here here = Here::current()) {
  vx::Handled(u"CHashLong.", here, [&] { Innermost(); });
}
constexpr uint32_t kMiddleCallLine = __LINE__ - 2;

void Outer(Here here = Here::current()) {
  vx::Handled(u"frmMain.", here, [&] { Middle(); });
}
constexpr uint32_t kOuterCallLine = __LINE__ - 2;

TEST(ErrorConvention, HandlersFoldTheirLinesInCallOrderFillEmptyFieldsAndConvertStdErrors) {
  EXPECT_EQ(ErrorOf([] { Outer(); }),
            (vx::ErrorInfo{5,
                           u"frmMain." + vx::DecimalText(kOuterCallLine) + u" (CHashLong." +
                               vx::DecimalText(kMiddleCallLine) + u" (modString." +
                               vx::DecimalText(kRaiseLine) + u" (Core)))",
                           u"broken"}));
  // An empty source and description are filled in.
  uint32_t line = 0;
  const vx::ErrorInfo handled = ErrorOf([&] {
    vx::Handled(u"frmMain.", Here::current(), [&] {
      line = __LINE__ + 1;
      vx::Raise(vx::kErrAppDefined, {}, u"Too many parameters");
    });
  });
  EXPECT_EQ(handled, (vx::ErrorInfo{1, u"frmMain." + vx::DecimalText(line) + u" (vxTM2Main)",
                                    u"Too many parameters"}));
  EXPECT_EQ(ErrorOf([] { vx::Raise(vx::kErrObjectNotSet); }),
            (vx::ErrorInfo{91, u"vxTM2Main", u"Object variable or With block variable not set"}));
  EXPECT_EQ(ErrorOf([] { vx::Raise(9); }).description, u"Subscript out of range");
  // Standard exceptions have no line of their own: the handler's location ends in 0.
  const std::pair<std::function<void()>, vx::ErrorInfo> cases[] = {
      {[] { throw std::bad_alloc(); }, {7, {}, u"Out of memory"}},
      {[] { throw std::overflow_error("big"); }, {6, {}, u"Overflow"}},
      {[] { throw std::out_of_range("far"); }, {9, {}, u"Subscript out of range"}},
      {[] { throw std::runtime_error("odd"); }, {1, {}, u"odd"}},
      {[] { throw 42; }, {1, {}, u"Application-defined or object-defined error"}}};
  for (auto [body, expected] : cases) {
    expected.source = u"modBasis.0 (vxTM2Main)";
    EXPECT_EQ(ErrorOf([&] { vx::Handled(u"modBasis.", Here::current(), body); }), expected);
  }
}

TEST(Boundary, StatusCarriesTheErrorBothWaysUnchanged) {
  const vx::Status status = vx::Guard([] { vx::Raise(438, u"vxTM2Core.ctlTransfer", u"No such"); });
  EXPECT_EQ(status.error, (vx::ErrorInfo{438, u"vxTM2Core.ctlTransfer", u"No such"}));
  uint32_t raisedAt = 0;
  const uint32_t checkLine = __LINE__ + 1;
  EXPECT_EQ(ErrorOf([&] { vx::Check(status); }, &raisedAt), status.error);
  EXPECT_EQ(raisedAt, checkLine);
  EXPECT_TRUE(vx::Guard([] {}).ok());
  EXPECT_EQ(ErrorOf([] { vx::Check(vx::Status::Ok()); }).number, 0);
}

TEST(DecimalText, EveryMagnitudeAndSign) {
  using Row = std::pair<int64_t, std::u16string_view>;
  for (const auto& [value, text] :
       {Row{0, u"0"}, Row{7, u"7"}, Row{-1, u"-1"}, Row{1440, u"1440"},
        Row{INT32_MIN, u"-2147483648"}, Row{INT64_MAX, u"9223372036854775807"},
        Row{INT64_MIN, u"-9223372036854775808"}})
    EXPECT_EQ(vx::DecimalText(value), text) << value;
}

TEST(AsciiLower, OnlyTheAsciiCapitalsFold) {
  EXPECT_EQ(vx::AsciiLower(u"AZaz@[`{09"), u"azaz@[`{09");
  // Latin-1 and Greek capitals are the command line's business, not this helper's.
  EXPECT_EQ(vx::AsciiLower(u"\u00C0\u0391"), u"\u00C0\u0391");
  EXPECT_TRUE(vx::EqualsIgnoringAsciiCase(u"ctlStatusBar", u"CTLSTATUSBAR"));
  EXPECT_FALSE(vx::EqualsIgnoringAsciiCase(u"\u00E0", u"\u00C0"));
  EXPECT_FALSE(vx::EqualsIgnoringAsciiCase(u"Name", u"Names"));
}

TEST(Contain, TheSinkReceivesWhatEscapesAndNothingElse) {
  std::vector<std::pair<std::u16string, vx::ErrorInfo>> sunk;
  const auto sink = [&](auto at, const auto& error) noexcept { sunk.emplace_back(at, error); };
  EXPECT_TRUE(vx::Contain(
      u"quiet", [] {}, sink));
  EXPECT_FALSE(vx::Contain(
      u"raising", [] { vx::Raise(vx::kErrDuplicateKey, u"src", u"d"); }, sink));
  EXPECT_FALSE(vx::Contain(
      u"memory", [] { throw std::bad_alloc(); }, sink));
  EXPECT_EQ(sunk, (decltype(sunk){{u"raising", {vx::kErrDuplicateKey, u"src", u"d"}},
                                  {u"memory", {7, u"vxTM2Main", u"Out of memory"}}}));
}

TEST(RoundToInt32, HalvesGoToTheEvenNeighbourAndTheRangeIsExact) {
  using Row = std::pair<double, int32_t>;
  for (const auto& [in, out] :
       {Row{0.5, 0}, Row{1.5, 2}, Row{2.5, 2}, Row{-0.5, 0}, Row{-1.5, -2}, Row{-2.5, -2},
        Row{2.4999999999999996, 2}, Row{2.5000000000000004, 3}, Row{-7.6, -8},
        Row{static_cast<double>(0.8f) * 101, 81}, Row{2147483647.4, INT32_MAX},
        Row{-2147483648.5, INT32_MIN}})
    EXPECT_EQ(vx::RoundToInt32(in), out) << in;
  for (double beyond : {2147483647.5, -2147483649.0, 1e300, std::nan(""), -HUGE_VAL})
    EXPECT_EQ(ErrorNumberOf([=] { vx::RoundToInt32(beyond); }), vx::kErrOverflow) << beyond;
}

TEST(ToSingle, RoundsToTheNearestFloatAndRefusesFiniteOverflow) {
  constexpr float kFloatMax = std::numeric_limits<float>::max();
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24), 1.0f);  // tie: even mantissa
  EXPECT_EQ(vx::ToSingle(1.0 + 0x1p-24 + 0x1p-40), 1.0f + 0x1p-23f);
  EXPECT_EQ(vx::ToSingle(-double{kFloatMax}), -kFloatMax);
  EXPECT_EQ(vx::ToSingle(0x1.fffffefffffffp+127), kFloatMax);
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(0x1.ffffffp+127); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::ToSingle(-1e39); }), vx::kErrOverflow);
  EXPECT_TRUE(std::isinf(vx::ToSingle(HUGE_VAL)));
  EXPECT_TRUE(std::isnan(vx::ToSingle(std::nan(""))));
  EXPECT_EQ(vx::ToSingle(1e-50), 0.0f);  // underflow is not an error
}

TEST(CheckedAdd, OverflowIsErrorSixInBothDirectionsOnTheCallersLine) {
  EXPECT_EQ(vx::CheckedAdd(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_EQ(vx::CheckedAdd(INT32_MIN + 1, -1), INT32_MIN);
  EXPECT_EQ(vx::CheckedAdd(INT32_MAX, INT32_MIN), -1);
  EXPECT_EQ(ErrorNumberOf([] { vx::CheckedAdd(INT32_MIN, -1); }), vx::kErrOverflow);
  uint32_t line = 0;
  const uint32_t callLine = __LINE__ + 1;
  EXPECT_EQ(ErrorOf([] { vx::CheckedAdd(INT32_MAX, 1); }, &line),
            (vx::ErrorInfo{6, u"vxTM2Main", u"Overflow"}));
  EXPECT_EQ(line, callLine);
}

struct IProbe : vx::IObject {
  static constexpr vx::InterfaceId kIid = "test.IProbe";
};

class Probe : public vx::ObjectImpl<IProbe> {
 public:
  Probe() {
    AddMember(7, u"Terminate", [this](std::span<const vx::Value>) {
      ++terminated;
      return vx::Value();
    });
    AddMember(0x60030002, u"Command", [this](std::span<const vx::Value> args) {
      last = vx::ArgAt(args, 0).As<std::u16string>();
      return vx::Value(int32_t{1});
    });
  }
  int terminated = 0;
  std::u16string last;
};

TEST(ObjectModel, CountsFollowReferencesAMissingInterfaceIsATypeMismatchAndCallsAreLateBound) {
  const int32_t before = vx::gLiveObjects;
  {
    vx::Ref<Probe> probe = vx::MakeObject<Probe>();
    EXPECT_EQ(vx::gLiveObjects, before + 1);
    vx::Ref<vx::IObject> asObject = probe;
    vx::Ref<IProbe> asProbe = vx::QueryAs<IProbe>(asObject);
    EXPECT_EQ(ErrorNumberOf([&] { vx::QueryAs<vx::IProject>(asObject); }), vx::kErrTypeMismatch);
    EXPECT_EQ(probe->AddRef(), 4u);
    probe->Release();
    // Late-bound calls, by name in any case and by id.
    vx::CallByName(asObject, u"terminate");
    EXPECT_EQ(probe->terminated, 1);
    EXPECT_EQ(vx::CallById(asObject, 0x60030002, {u"exit"}).As<int32_t>(), 1);
    EXPECT_EQ(probe->last, u"exit");
    EXPECT_EQ(ErrorNumberOf([&] { vx::CallById(asObject, 0x60030002); }), vx::kErrInvalidCall);
    EXPECT_EQ(ErrorNumberOf([&] { vx::CallByName(asObject, u"Moved"); }), vx::kErrNoSuchMember);
  }
  EXPECT_EQ(vx::gLiveObjects, before);
  EXPECT_EQ(ErrorNumberOf([] { vx::CallByName(vx::Ref<vx::IObject>(), u"Terminate"); }),
            vx::kErrObjectNotSet);
}

using Utf8Case = std::tuple<const char*, std::string, std::u16string>;  // name, UTF-8, UTF-16

TEST(Utf8, InvalidSequencesAndUnpairedSurrogatesBecomeOneReplacementEachAndTheRestRoundTrips) {
  const std::u16string r = u"\xFFFD";
  const Utf8Case cases[] = {
      {"empty", "", u""},
      {"one to four bytes", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"A\u00E9\u20AC\xD83D\xDE00"},
      {"lowest of each length", "\x7F\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80",
       u"\x007F\x0080\x0800\xD800\xDC00"},
      {"highest of each length", "\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
       u"\x07FF\xFFFF\xDBFF\xDFFF"},
      {"last before the surrogates", "\xED\x9F\xBF", u"\xD7FF"},
      {"first leads after E0 and ED", "\xE1\x80\x80\xEE\x80\x80", u"\u1000\uE000"},
      {"planes 4 to 15", "\xF1\x80\x80\x80\xF3\xBF\xBF\xBF", u"\xD8C0\xDC00\xDBBF\xDFFF"},
      {"overlong two bytes", "\xC0\xAF\xC1\xBF", r + r + r + r},
      {"overlong three bytes", "\xE0\x80\xAF", r + r + r},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", r + r + r + r},
      {"encoded surrogate", "\xED\xA0\x80", r + r + r},
      {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"no lead beyond F4", "\xF5\x80\xFF", r + r + r},
      {"truncated at the end", "a\xF0\x9F\x98", u"a" + r},
      {"truncated by a letter", "\xE2\x82\x62\xC3\x63", r + u"b" + r + u"c"},
      {"lone continuation bytes", "\x80\xBF\x64", r + r + u"d"},
      {"truncated then a new sequence", "\xE2\xC3\xA9", r + u"\u00E9"},
  };
  for (const auto& [name, utf8, utf16] : cases) {
    EXPECT_EQ(vx::FromUtf8(utf8), utf16) << name;
    if (utf16.find(r) != std::u16string::npos) continue;  // what was replaced does not come back
    EXPECT_EQ(vx::ToUtf8(utf16), utf8) << name;
  }
  const std::string r8 = "\xEF\xBF\xBD";
  const Utf8Case unpaired[] = {
      {"high at the end", "a" + r8, u"a\xD800"},
      {"high before a letter", r8 + "A", u"\xDBFF\x0041"},
      {"lone low", r8 + "a", u"\xDC00\x0061"},
      {"pair in the wrong order", r8 + r8, u"\xDFFF\xD800"},
      {"two highs then a low", r8 + "\xF0\x90\x80\x80", u"\xD800\xD800\xDC00"},
  };
  for (const auto& [name, utf8, utf16] : unpaired) EXPECT_EQ(vx::ToUtf8(utf16), utf8) << name;
}

TEST(ParseGeometryText, ConvertsAllFiveFieldsOrNothingWhenFewerAndAnyBadFieldIsATypeMismatch) {
  using Fields = std::tuple<float, float, float, float, int32_t>;
  using Row = std::pair<std::u16string_view, std::optional<Fields>>;
  for (const auto& [text, expected] :
       {Row{u"1200 900 14250 10500 0", Fields{1200, 900, 14250, 10500, 0}},
        Row{u"-300 -200 500 400 2", Fields{-300, -200, 500, 400, 2}},
        Row{u"1.5 2 3 4 1 extra fields", Fields{1.5f, 2, 3, 4, 1}},
        Row{u"0 0 0 0 2.0", Fields{0, 0, 0, 0, 2}}, Row{u"0 0 0 0 -7", Fields{0, 0, 0, 0, -7}},
        Row{u"", std::nullopt}, Row{u" 0", std::nullopt}, Row{u"1 2 3 4", std::nullopt},
        Row{u"a b c d", std::nullopt}}) {
    const std::optional<vx::GeometryFields> f = vx::ParseGeometryText(text);
    std::optional<Fields> fields;
    if (f) fields = Fields{f->left, f->top, f->width, f->height, f->state};
    EXPECT_EQ(fields, expected) << vx::ToUtf8(text);
  }
  for (std::u16string_view text :
       {u"x 2 3 4 0", u"1 x 3 4 0", u"1 2 x 4 0", u"1 2 3 x 0", u"1 2 3 4 x", u"1 2 3 4 0.5",
        u"1 2 3 4 ", u"1  2 3 4 0", u"1 2 3 4 1,0"})
    EXPECT_EQ(ErrorNumberOf([&] { vx::ParseGeometryText(text); }), vx::kErrTypeMismatch)
        << vx::ToUtf8(text);
}

TEST(TextToSingle, ReadsPlainDecimalNumbersOnlyAndBeyondSinglePrecisionIsAnOverflow) {
  // Too small to tell from zero (1e-60) is zero, not an error.
  using Row = std::pair<std::u16string_view, float>;
  for (const auto& [text, number] :
       {Row{u"1500", 1500.0f}, Row{u"-300", -300.0f}, Row{u"+12.5", 12.5f}, Row{u" 7 ", 7.0f},
        Row{u".5", 0.5f}, Row{u"5.", 5.0f}, Row{u"1e3", 1000.0f}, Row{u"2.5E-1", 0.25f},
        Row{u"1e-60", 0.0f}})
    EXPECT_EQ(vx::TextToSingle(text), number);
  for (std::u16string_view text : {u"", u" ", u"x", u"12px", u"1,5", u"--1", u"0x10", u"inf",
                                   u"nan", u"1e", u"1e5x", u"1.5x", u".", u"1 2"})
    EXPECT_EQ(ErrorNumberOf([&] { vx::TextToSingle(text); }), vx::kErrTypeMismatch)
        << vx::ToUtf8(text);
  EXPECT_EQ(ErrorNumberOf([] { vx::TextToSingle(u"1e39"); }), vx::kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { vx::TextToSingle(u"-1e400"); }), vx::kErrOverflow);
}

TEST(TextToLong, TakesWholeNumbersOnly) {
  EXPECT_EQ(vx::TextToLong(u"2.0") + vx::TextToLong(u"1e1") + vx::TextToLong(u"-7"), 5);
  EXPECT_EQ(vx::TextToLong(u"2147483647"), 2147483647);
  EXPECT_EQ(ErrorNumberOf([] { vx::TextToLong(u"2147483648"); }), vx::kErrOverflow);
  for (const char16_t* text : {u"2.5", u"-0.5", u"two"})
    EXPECT_EQ(ErrorNumberOf([&] { vx::TextToLong(text); }), vx::kErrTypeMismatch);
}

}  // namespace
