// Numbers and temperatures as users type and read them, and the binding rows'
// lookup by control name.
#include <gtest/gtest.h>

#include "lang/number_text.h"
#include "link/shared_store.h"
#include "settings/bindings.h"
#include "settings/temperature.h"

namespace vmx {
namespace {

TEST(NumberText, DecimalsInTheLocalesSpellingOnly) {
  EXPECT_EQ(12.5, ParseDecimal("12.5", "."));
  EXPECT_EQ(12.5, ParseDecimal(" 12,5 ", ","));
  EXPECT_EQ(0.5, ParseDecimal(".5", "."));
  EXPECT_EQ(5.0, ParseDecimal("5.", "."));
  EXPECT_EQ(-0.25, ParseDecimal("-0.25", "."));
  EXPECT_EQ(1000.0, ParseDecimal("1e3", "."));
  for (const char* bad : {"", "-", "+", ".", "12,5", "1.2.3", "1 000", "0x10", "e3", "1e", "abc",
                          "inf", "nan", "-inf", "1e300", "1e16"})
    EXPECT_FALSE(ParseDecimal(bad, ".")) << bad;
  EXPECT_FALSE(ParseDecimal("12.5", ",")) << "no group separators";
}

TEST(NumberText, IntegersDecimalOrHexWithin32Bits) {
  EXPECT_EQ(10, ParseInteger("010"));
  EXPECT_EQ(255, ParseInteger("$FF"));
  EXPECT_EQ(31, ParseInteger("0x1f"));
  EXPECT_EQ(-5, ParseInteger("-5"));
  EXPECT_EQ(2147483647, ParseInteger("2147483647"));
  EXPECT_EQ(-2147483648LL, ParseInteger("-2147483648"));
  for (const char* bad : {"", "-", "$", "0x", "12abc", "1.5", "2147483648", "99999999999999999999"})
    EXPECT_FALSE(ParseInteger(bad)) << bad;
}

TEST(NumberText, RoundingToIntegersTiesToEven) {
  EXPECT_EQ(128, RoundToInteger(127.5));
  EXPECT_EQ(22, RoundToInteger(22.5));
  EXPECT_EQ(-2, RoundToInteger(-2.5));
  EXPECT_FALSE(RoundToInteger(1e300));
}

TEST(NumberText, PatternsWithOptionalAndFixedDecimals) {
  EXPECT_EQ("53.13", FormatDecimal(53.125, 0, 2, "."));
  EXPECT_EQ("20", FormatDecimal(819 / 40.96, 0, 2, "."));
  EXPECT_EQ("10", FormatDecimal(9.996, 0, 2, "."));
  EXPECT_EQ("0", FormatDecimal(-0.004, 0, 2, "."));
  EXPECT_EQ("0.0", FormatDecimal(-0.04, 1, 1, "."));
  EXPECT_EQ("-1,5", FormatDecimal(-1.5, 1, 1, ","));
  EXPECT_EQ("12.00", FormatDecimal(12, 2, 2, "."));
  EXPECT_EQ("39.2", FormatDecimal(100 / 255.0 * 100, 0, 1, "."));
  EXPECT_EQ("100", FormatDecimal(99.99, 0, 1, "."));
}

TEST(Temperatures, CelsiusOrFahrenheitByTheConfigFlag) {
  EXPECT_EQ("\u00B0C", TemperatureUnitSymbol(0));
  EXPECT_EQ("\u00B0F", TemperatureUnitSymbol(0x04));
  EXPECT_EQ("77.0", FormatTemperature(250, 0x04, "."));
  EXPECT_EQ("25.0", FormatTemperature(250, 0x00, "."));
  EXPECT_EQ("-40.0", FormatTemperature(-400, 0x04, "."));
  EXPECT_EQ(250, ParseTemperature("77", 0x04, "."));
  EXPECT_EQ(253, ParseTemperature("77.5", 0x04, "."));
  EXPECT_EQ(-15, ParseTemperature("-1,5", 0x00, ","));
  EXPECT_FALSE(ParseTemperature("warm", 0x00, "."));
}

TEST(Bindings, ChannelControlsResolveByTheirNumber) {
  const auto edit = FindBinding("edt11");
  ASSERT_TRUE(edit);
  EXPECT_EQ("Channel11", edit->field);
  EXPECT_EQ("trb11", edit->slider);
  EXPECT_FALSE(edit->isSlider);
  const auto slider = FindBinding("trbFanLow");
  ASSERT_TRUE(slider);
  EXPECT_TRUE(slider->isSlider);
  EXPECT_EQ("trbFanHigh", slider->notAbove);
  EXPECT_EQ("trbFanOff", slider->notBelow);
  for (const char* none : {"edt12", "edt01", "edt", "edt-1", "edtFan", "trbNothing"})
    EXPECT_FALSE(FindBinding(none)) << none;
  // Every row names a field its record has.
  SharedStore store;
  for (const Binding& b : SettingsBindings()) {
    std::string field(b.field);
    if (field.ends_with('#')) field.back() = '0';
    EXPECT_TRUE(ReadField(store, b.record, field)) << field;
  }
}

}  // namespace
}  // namespace vmx
