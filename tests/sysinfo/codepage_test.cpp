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

TEST_P(FromSystemCodePageTest, DecodesInTheLocalesEncoding)
{
    testing::LocaleGuard locale(GetParam().locale);
    ASSERT_TRUE(locale.active());
    EXPECT_EQ(fromSystemCodePage(GetParam().bytes), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, FromSystemCodePageTest,
    ::testing::Values(
        DecodeCase{"utf8_letters", "C.UTF-8", "Caf\xC3\xA9 \xE2\x84\xA2", L"Caf\u00E9 \u2122"},
        DecodeCase{"utf8_invalid_byte", "C.UTF-8", "a\xFF" "b", L"a\uFFFDb"},
        DecodeCase{"utf8_stray_continuation", "C.UTF-8", "\x80\x80", L"\uFFFD\uFFFD"},
        DecodeCase{"utf8_cut_at_end", "C.UTF-8", "ab\xE2\x84", L"ab\uFFFD"},
        DecodeCase{"nul_kept", "C.UTF-8", "a\0b"s, L"a\0b"s},
        DecodeCase{"plain_c_high_bytes", "C", "\xC3\xA9", L"\uFFFD\uFFFD"}),
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
