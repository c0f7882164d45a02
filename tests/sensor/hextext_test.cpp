// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "hextext.h"

namespace veltaro {
namespace {

struct Hex8Case {
    const char* name;
    std::uint32_t value;
    std::wstring text;
};

class Hex8Test : public ::testing::TestWithParam<Hex8Case> {};

TEST_P(Hex8Test, RendersEightUpperCaseDigits)
{
    EXPECT_EQ(Hex8(GetParam().value), GetParam().text);
    wchar_t digits[8];
    Hex8(GetParam().value, digits);
    EXPECT_EQ(std::wstring(digits, 8), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, Hex8Test,
    ::testing::Values(
        Hex8Case{"zero", 0, L"00000000"},
        Hex8Case{"byte", 255, L"000000FF"},
        Hex8Case{"bit31_no_sign_no_ninth_digit", 0x8000C3FC, L"8000C3FC"},
        Hex8Case{"all_ones", 0xFFFFFFFF, L"FFFFFFFF"},
        Hex8Case{"family10h_signature", 0x00100F42, L"00100F42"},
        Hex8Case{"lower_letters_upper_cased", 0xABCDEF01, L"ABCDEF01"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct DigitsCase {
    const char* name;
    std::wstring digits;
    std::wstring decimal;
};

class HexDigitsToDecimalTest : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(HexDigitsToDecimalTest, GivesTheDecimalText)
{
    EXPECT_EQ(HexDigitsToDecimal(GetParam().digits), GetParam().decimal);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, HexDigitsToDecimalTest,
    ::testing::Values(
        DigitsCase{"empty", L"", L"0"},
        DigitsCase{"prefix_and_zero", L"&h0", L"0"},
        DigitsCase{"prefix_and_one", L"&h1", L"1"},
        DigitsCase{"prefix_and_two", L"&h2", L"2"},
        DigitsCase{"prefix_and_seven", L"&h7", L"7"},
        DigitsCase{"prefix_and_letter", L"&hA", L"10"},
        DigitsCase{"prefix_and_f", L"&hF", L"15"},
        DigitsCase{"lower_case", L"ff", L"255"},
        DigitsCase{"upper_case", L"FF", L"255"},
        DigitsCase{"digit_then_letter", L"3C", L"60"},
        DigitsCase{"g_counts_zero", L"G1", L"1"},
        // Every character keeps its place, even one that counts zero.
        DigitsCase{"g_keeps_place", L"1G", L"16"},
        DigitsCase{"blank_keeps_place", L"1 ", L"16"},
        DigitsCase{"h_keeps_place", L"2h0", L"512"},
        DigitsCase{"thermal_field_0Fh", L"7A", L"122"},
        DigitsCase{"largest_int32", L"7FFFFFFF", L"2147483647"},
        DigitsCase{"leading_zeros_long", L"000000000000000000001", L"1"},
        DigitsCase{"non_ascii_counts_zero", L"\u00E91", L"1"},
        DigitsCase{"neighbours_of_digits_and_letters", L"/:@G`g", L"0"},
        // Values beyond 32 bits have no decimal rendering.
        DigitsCase{"just_past_int32", L"80000000", L""},
        DigitsCase{"nine_digits", L"100000000", L""},
        DigitsCase{"hundreds_of_digits", std::wstring(300, L'F'), L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DigitsAtTest, CountsPositionsFromOneOnTheLeft)
{
    const std::wstring text = L"8000C3FC";
    EXPECT_EQ(digitsAt(text, 1, 2), L"80");
    EXPECT_EQ(digitsAt(text, 3, 1), L"0");
    EXPECT_EQ(digitsAt(text, 5, 4), L"C3FC");
}

struct DecimalCase {
    const char* name;
    std::wstring text;
    std::optional<std::int32_t> value;
};

class ReadDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimalTest, ReadsWhatHexDigitsToDecimalWrites)
{
    EXPECT_EQ(readDecimal(GetParam().text), GetParam().value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ReadDecimalTest,
    ::testing::Values(
        DecimalCase{"zero", L"0", 0},
        DecimalCase{"positive", L"255", 255},
        DecimalCase{"negative", L"-49", -49},
        DecimalCase{"largest", L"2147483647", 2147483647},
        DecimalCase{"smallest", L"-2147483648", std::numeric_limits<std::int32_t>::min()},
        DecimalCase{"too_large", L"2147483648", std::nullopt},
        DecimalCase{"empty", L"", std::nullopt},
        DecimalCase{"sign_alone", L"-", std::nullopt},
        DecimalCase{"blank", L" 5", std::nullopt},
        DecimalCase{"letters", L"1A", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
