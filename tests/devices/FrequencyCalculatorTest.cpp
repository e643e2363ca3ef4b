#include <gtest/gtest.h>

#include <cmath>

#include "devices/VkcFrequencyCalculator.h"
#include "link/VkcMessageIds.h"
#include "platform/Event.h"
#include "platform/Messages.h"

namespace {

struct Outcome {
  uint32_t result = 1;
  double achieved = 0;
  uint32_t r = 0, a = 0, n = 0;
};

// Every combination, in order, with no shortcut: the reference the fast search must equal.
Outcome FullSweep(uint32_t target) {
  Outcome o;
  uint32_t best = 4294967295u;
  for (uint32_t r = 890; r <= 1041; ++r) {
    for (uint32_t n = 0; n <= 8191; ++n) {
      for (uint32_t a = 0; a <= 31; ++a) {
        const uint32_t m = 16 * n + a;
        if (m == 0) continue;
        const double f = m * 12288000.0 / r;
        if (!(std::fabs(2.0 * target - f) < 200.0)) continue;
        const double d = std::fabs(f / 2.0 - target);
        if (best > d) {
          best = static_cast<uint32_t>(d);
          o = {0, f / 2.0, r, a, n};
        }
      }
    }
  }
  return o;
}

uint32_t Search(VkcFrequencyCalculator& calc, uint32_t target, platform::WindowHandle window = 0) {
  platform::Event stop;
  calc.SetTargetFrequency(target);
  return calc.Process(0, 0, window, stop);
}

TEST(FrequencyCalculator, FindsAnExactCombinationAndMatchesTheFullSweep) {
  // R 900, N 5000, A 7 gives exactly twice this target.
  const uint32_t exact = 546181120;
  for (uint32_t target : {exact, 433012345u, 409999999u}) {
    SCOPED_TRACE(target);
    VkcFrequencyCalculator calc;
    ASSERT_EQ(Search(calc, target), 0u);
    const Outcome ref = FullSweep(target);
    ASSERT_EQ(ref.result, 0u);
    EXPECT_EQ(calc.GetR(), ref.r);
    EXPECT_EQ(calc.GetA(), ref.a);
    EXPECT_EQ(calc.GetN(), ref.n);
    EXPECT_EQ(calc.GetAchievedFrequency(), ref.achieved);
    EXPECT_LT(std::fabs(calc.GetAchievedFrequency() - target), 100.0);
    if (target == exact) {
      EXPECT_LT(std::fabs(calc.GetAchievedFrequency() - exact), 1.0);
    }
  }
}

TEST(FrequencyCalculator, NoCombinationLeavesTheWordsAlone) {
  VkcFrequencyCalculator calc;
  ASSERT_EQ(Search(calc, 546181120), 0u);
  const uint32_t r = calc.GetR(), a = calc.GetA(), n = calc.GetN();
  const double achieved = calc.GetAchievedFrequency();
  // Nothing reaches within 200 Hz of 2 Hz; the target stays what the caller set.
  EXPECT_EQ(Search(calc, 1), 1u);
  EXPECT_EQ(calc.GetR(), r);
  EXPECT_EQ(calc.GetA(), a);
  EXPECT_EQ(calc.GetN(), n);
  EXPECT_EQ(calc.GetAchievedFrequency(), achieved);
  EXPECT_EQ(calc.GetTargetFrequency(), 1u);
  // Far above what the counters reach.
  VkcFrequencyCalculator high;
  EXPECT_EQ(Search(high, 4000000000u), 1u);
  EXPECT_EQ(high.GetR(), 0u);
}

TEST(FrequencyCalculator, PostsOneProgressStepPerReferenceDivider) {
  platform::RecordingWindow window;
  VkcFrequencyCalculator calc;
  Search(calc, 1, window.Handle());
  ASSERT_TRUE(window.WaitFor([](const auto& m) { return m.size() >= 152; }, 5000));
  const auto posts = window.Messages(kMsgProgress);
  ASSERT_EQ(posts.size(), 152u);
  intptr_t last = -1;
  for (const auto& p : posts) {
    EXPECT_EQ(p.wParam, kProgressPercent);
    EXPECT_GE(p.lParam, last);
    last = p.lParam;
  }
  EXPECT_EQ(posts.front().lParam, 0);
  EXPECT_EQ(posts.back().lParam, 99);
}

TEST(FrequencyCalculator, KeepsTheFirstOfCandidatesWithinOneHertz) {
  // 12.7 Hz first: best becomes 12, so 12.2 Hz does not replace it; 11.9 Hz does.
  EXPECT_TRUE(VkcFrequencyCalculator::Replaces(4294967295u, 12.7));
  EXPECT_FALSE(VkcFrequencyCalculator::Replaces(12, 12.2));
  EXPECT_FALSE(VkcFrequencyCalculator::Replaces(12, 12.0));
  EXPECT_TRUE(VkcFrequencyCalculator::Replaces(12, 11.9));
}

TEST(FrequencyCalculator, ExactTableAndCaption) {
  const VkcSynthRow* row = VkcFrequencyCalculator::FindExact(403456250);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->a, 30u);
  EXPECT_EQ(row->n, 2830u);
  EXPECT_EQ(row->r, 690u);
  row = VkcFrequencyCalculator::FindExact(469737500);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->r, 1445u);
  EXPECT_EQ(VkcFrequencyCalculator::FindExact(403456000), nullptr);
  const auto table = VkcFrequencyCalculator::ExactTable();
  for (size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].hz, table[i].hz);
  // %10.6lf pads to ten characters.
  EXPECT_EQ(VkcFrequencyCalculator::Caption(403456000), "Calculating 403.456000 MHz");
  EXPECT_EQ(VkcFrequencyCalculator::Caption(98500000), "Calculating  98.500000 MHz");
}

TEST(FrequencyCalculator, RunUsesTheInstalledRunner) {
  int calls = 0;
  VkcFrequencyCalculator::SetRunner([&](VkcFrequencyCalculator& c) {
    ++calls;
    return c.GetTargetFrequency() == 7;
  });
  VkcFrequencyCalculator calc;
  calc.SetTargetFrequency(7);
  EXPECT_TRUE(VkcFrequencyCalculator::Run(calc));
  EXPECT_EQ(calls, 1);
  VkcFrequencyCalculator::SetRunner(nullptr);
  // Without a runner the search runs here.
  calc.SetTargetFrequency(546181120);
  EXPECT_TRUE(VkcFrequencyCalculator::Run(calc));
  EXPECT_EQ(calls, 1);
  calc.SetTargetFrequency(1);
  EXPECT_FALSE(VkcFrequencyCalculator::Run(calc));
}

}  // namespace
