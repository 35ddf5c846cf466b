// The corrections and conversions the Preferences dialog applies to what was typed.

#include "settings/preference_rules.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(PreferenceRules, TypedNumbersAreHeldToTheirRangesAndSteps) {
  struct Case {
    std::int32_t (*rule)(std::int32_t);
    std::int32_t typed, stored;
  };
  const Case cases[] = {
      {CorrectMaxTachometer, 300, 1000},   {CorrectMaxTachometer, 1499, 1000}, {CorrectMaxTachometer, 1500, 2000},
      {CorrectMaxTachometer, 9000, 8000},  {CorrectMaxSpeedometer, 5, 10},     {CorrectMaxSpeedometer, 124, 120},
      {CorrectMaxSpeedometer, 125, 130},   {CorrectMaxSpeedometer, 340, 340},  {CorrectMaxSpeedometer, 999, 340},
      {CorrectRedline, -1, 0},             {CorrectRedline, 8000, 8000},       {CorrectRedline, 8001, 8000},
      {CorrectSmoothingFactor, -1, 0},     {CorrectSmoothingFactor, 20, 20},   {CorrectSmoothingFactor, 21, 20},
      {CelsiusFromFahrenheit, 32, 0},      {CelsiusFromFahrenheit, 33, 1},     {FahrenheitFromCelsius, 220, 428},
      {FilterListEntry, 30, 7},            {FilterListEntry, 100, 0},          {FilterListEntry, 110, 0},
      {FilterListEntry, 0, 10},
  };
  for (const Case& c : cases) EXPECT_EQ(c.rule(c.typed), c.stored) << c.typed;
}

TEST(PreferenceRules, ListTextsAndTheFilterTheyStandFor) {
  EXPECT_EQ(FilterListText(0), "     0 %    (fast)");
  EXPECT_EQ(FilterListText(3), "    30 %");
  EXPECT_EQ(FilterListText(10), "   100 %  (slow)");
  EXPECT_EQ(FilterFromListText("    70 %"), 30);
  EXPECT_EQ(FilterFromListText(FilterListText(0)), 100);
  EXPECT_STREQ(UpdateRateText(0), "  4 Times a Second");
  EXPECT_STREQ(UpdateRateText(9), "17 Times a Second");
}

}  // namespace
}  // namespace vantor
