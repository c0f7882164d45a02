// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "codepage.h"
#include "localeguard.h"

namespace veltaro {
namespace {

using namespace std::string_literals;

struct DecodeCase {
    const char* name;
    const char* locale;
    std::string bytes;
    std::wstring text;
};

void PrintTo(const DecodeCase& row, std::ostream* out)
{
    *out << row.name;
}

class FromSystemCodePageTest : public ::testing::TestWithParam<DecodeCase> {};

// Names come from the system as bytes and go back to it (the computer name
// to the registry connection): whatever the bytes, the way back must give
// them unchanged.
TEST_P(FromSystemCodePageTest, DecodesInTheLocalesEncodingAndBackToTheSameBytes)
{
    testing::LocaleGuard locale(GetParam().locale);
    ASSERT_TRUE(locale.active());
    EXPECT_EQ(fromSystemCodePage(GetParam().bytes), GetParam().text);
    EXPECT_EQ(toSystemCodePage(fromSystemCodePage(GetParam().bytes)), GetParam().bytes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, FromSystemCodePageTest,
    ::testing::Values(
        DecodeCase{"utf8_letters", "C.UTF-8", "Caf\xC3\xA9 \xE2\x84\xA2", L"Caf\u00E9 \u2122"},
        DecodeCase{"utf8_invalid_byte", "C.UTF-8", "a\xFF" "b", L"a\xDCFF" L"b"},
        DecodeCase{"utf8_stray_continuation", "C.UTF-8", "\x80\x80", L"\xDC80\xDC80"},
        DecodeCase{"utf8_cut_at_end", "C.UTF-8", "ab\xE2\x84", L"ab\xDCE2\xDC84"},
        DecodeCase{"latin1_in_utf8", "C.UTF-8", "caf\xE9", L"caf\xDCE9"},
        // The bytes of U+DC80 in UTF-8 are no character: they must not
        // decode into something that goes back out as one byte.
        DecodeCase{"utf8_encoded_surrogate", "C.UTF-8", "\xED\xB2\x80", L"\xDCED\xDCB2\xDC80"},
        DecodeCase{"nul_kept", "C.UTF-8", "a\0b"s, L"a\0b"s},
        DecodeCase{"plain_c_high_bytes", "C", "\xC3\xA9", L"\xDCC3\xDCA9"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ToSystemCodePageTest, EncodesWhatTheLocaleCanAndMarksTheRest)
{
    {
        testing::LocaleGuard utf8("C.UTF-8");
        ASSERT_TRUE(utf8.active());
        EXPECT_EQ(toSystemCodePage(L"f\u00FCr \u2122"), "f\xC3\xBCr \xE2\x84\xA2");
    }
    testing::LocaleGuard plain("C");
    EXPECT_EQ(toSystemCodePage(L"f\u00FCr"), "f?r");
}

}  // namespace
}  // namespace veltaro
