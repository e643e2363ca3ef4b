#include <gtest/gtest.h>

#include "app/CheckedNumberEdit.h"
#include "app/PageText.h"
#include "app/PowerRange.h"
#include "app/SliderEditPair.h"
#include "devices/VkcDevice.h"
#include "link/Utf.h"

namespace {

TEST(PageText, FrequenciesGetAtMostTwoSeparatorsAndNoLeadingOne) {
  const std::pair<uint32_t, const char*> cases[] = {
      {450125000, "450,125,000"}, {1234567890, "1234,567,890"}, {300000, "300,000"},
      {1000, "1,000"},            {999, "999"},                 {0, "0"},
      {1000000, "1,000,000"},     {4294967295u, "4294,967,295"},
  };
  for (const auto& [hz, text] : cases) EXPECT_EQ(FormatHzWithCommas(hz), text) << hz;
}

TEST(PageText, RateFollowsSpacingAndBitsPerSymbol) {
  const struct {
    float steps;
    int modulation;
    const char* text;
  } cases[] = {
      {4, 2, "28.8 kbps"},   // 25 kHz, D8PSK
      {3.125f, 3, "30.0 kbps"},  // 16QAM
      {0.5f, 6, " 1.2 kbps"},    // L-band 1200 bps, FBPSK: width 4
      {2, 1, " 9.6 kbps"},   {2, 5, " 9.6 kbps"}, {2, 4, " 4.8 kbps"}, {2, 99, " 4.8 kbps"},
  };
  for (const auto& c : cases) EXPECT_EQ(RateText(c.steps, c.modulation), c.text) << c.steps << " " << c.modulation;
}

TEST(PowerRange, LimitsUnitsAndClampPolicies) {
  EXPECT_EQ(PowerRange::DealerMaximum(40, 10, 33), 33);
  EXPECT_EQ(PowerRange::DealerMaximum(5, 10, 33), 33);
  EXPECT_EQ(PowerRange::DealerMaximum(27, 10, 33), 27);
  for (bool extended : {false, true}) {
    const PowerRange dbm = PowerRange::FromDbm(10, 33, PowerUnit::Dbm, extended);
    EXPECT_EQ(dbm.min, 10);
    EXPECT_EQ(dbm.Tick(), 2);
    const PowerRange mw = PowerRange::FromDbm(10, 33, PowerUnit::Milliwatt, extended);
    EXPECT_EQ(mw.min, VkcDevice::DbmToMilliwatts(10, extended));
    EXPECT_EQ(mw.max, VkcDevice::DbmToMilliwatts(33, extended));
    EXPECT_EQ(mw.Tick(), (mw.max - mw.min) / 10);
    EXPECT_EQ(mw.ToDbmValue(mw.FromDbmValue(30)), 30);
    EXPECT_EQ(PowerRange::Convert(30, PowerUnit::Dbm, PowerUnit::Milliwatt, extended), mw.FromDbmValue(30));
    EXPECT_EQ(PowerRange::Convert(30, PowerUnit::Dbm, PowerUnit::Dbm, extended), 30);
  }
  const PowerRange r = PowerRange::FromDbm(10, 33, PowerUnit::Dbm, false);
  EXPECT_EQ(r.Clamp(40), 33);
  EXPECT_EQ(r.Clamp(2), 10);
  EXPECT_EQ(r.ClampTop(40), 33);
  EXPECT_EQ(r.ClampTop(2), 2);  // the dealer page leaves a value below the minimum
}

TEST(SliderEditPair, TypingLeavingAndScrolling) {
  constexpr int kSlider = 1031, kEdit = 1034;
  PageControls c;
  SliderEditPair pair(kSlider, kEdit);
  pair.Show(c, 10, 33, 40, 2);
  EXPECT_EQ(c.Value(kSlider), 33);
  EXPECT_EQ(c.Text(kEdit), u"33");
  EXPECT_EQ(c.Get(kSlider).range, (ControlRange{10, 33}));

  // Typing moves the slider, to the limit when out of range; the edit keeps what was typed.
  const std::pair<const char16_t*, int> typing[] = {{u"20", 20}, {u"5", 10}, {u"50", 33}, {u"x", 33}};
  for (const auto& [text, slider] : typing) {
    c.SetText(kEdit, text);
    pair.OnEditChanged(c);
    EXPECT_EQ(c.Value(kSlider), slider) << std::string(text, text + 2);
    EXPECT_EQ(c.Text(kEdit), text);
  }
  // Leaving out of range takes the slider's position back.
  c.SetText(kEdit, u"12");
  pair.OnEditChanged(c);
  EXPECT_TRUE(pair.OnEditLeft(c));
  EXPECT_EQ(pair.Value(), 12);
  c.SetText(kEdit, u"99");
  pair.OnEditChanged(c);
  EXPECT_FALSE(pair.OnEditLeft(c));
  EXPECT_EQ(c.Text(kEdit), u"33");

  // Scroll actions from 20: the slider's own position counts only for page and thumb moves.
  const struct {
    SliderAction action;
    int position;
    int value;
  } scrolls[] = {{SliderAction::LineUp, 5, 19},  {SliderAction::LineDown, 5, 21}, {SliderAction::PageUp, 15, 15},
                 {SliderAction::Track, 27, 27},  {SliderAction::Top, 27, 10},     {SliderAction::Bottom, 27, 33}};
  for (const auto& s : scrolls) {
    pair.SetValue(c, 20);
    c[kSlider].action = s.action;
    c.SetValue(kSlider, s.position);
    pair.OnScroll(c);
    EXPECT_EQ(pair.Value(), s.value) << static_cast<int>(s.action);
    EXPECT_EQ(c.Text(kEdit), Utf8ToUtf16(std::to_string(s.value)));
  }
  pair.SetValue(c, 10);
  c[kSlider].action = SliderAction::LineUp;
  pair.OnScroll(c);
  EXPECT_EQ(pair.Value(), 10);  // within the range
}

TEST(CheckedNumberEdit, AcceptsInRangeElseRestoresOrTakesTheFixedValue) {
  constexpr int kEdit = 1200;
  PageControls c;
  CheckedNumberEdit edit(kEdit, 1, 60);
  edit.Show(c, 7);
  const struct {
    const char16_t* typed;
    std::optional<int> fallback;
    bool ok;
    const char16_t* shown;
  } cases[] = {{u" 60 ", {}, true, u"60"}, {u"0", 5, false, u"5"}, {u"61", {}, false, u"5"}, {u"abc", {}, false, u"5"},
               {u"1", 5, true, u"1"}};
  for (const auto& k : cases) {
    c.SetText(kEdit, k.typed);
    EXPECT_EQ(edit.Leave(c, k.fallback), k.ok);
    EXPECT_EQ(c.Text(kEdit), k.shown);
  }
}

}  // namespace
