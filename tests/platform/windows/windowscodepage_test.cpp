// SPDX-License-Identifier: MIT
// The conversions at the "A" calls, in the system's ANSI code page. The
// tests run with the Western European code page 1252 (Wine's choice for an
// English or unset locale).

#include <gtest/gtest.h>

#include <windows.h>

#include "codepage.h"

namespace veltaro {
namespace {

using namespace std::string_literals;

class WindowsCodePageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::GetACP(), 1252u) << "these rows are written for code page 1252"; }
};

TEST_F(WindowsCodePageTest, EncodesWhatTheCodePageHasAndMarksTheRest)
{
    EXPECT_EQ(toSystemCodePage(L"Caf\u00E9 \u2122 \u20AC"), "Caf\xE9 \x99 \x80");
    EXPECT_EQ(toSystemCodePage(L"\u0416\u4E2D"), "??");
    EXPECT_EQ(toSystemCodePage(L"a\0b"s), "a\0b"s);
    EXPECT_EQ(toSystemCodePage(L""), "");
}

TEST_F(WindowsCodePageTest, DecodesEveryByte)
{
    EXPECT_EQ(fromSystemCodePage("Caf\xE9 \x99 \x80"), L"Caf\u00E9 \u2122 \u20AC");
    EXPECT_EQ(fromSystemCodePage("a\0b"s), L"a\0b"s);
    EXPECT_EQ(fromSystemCodePage(""), L"");
    // The whole upper half round-trips, as the registry's texts need.
    std::string upper;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        upper.push_back(static_cast<char>(byte));
    const std::wstring text = fromSystemCodePage(upper);
    EXPECT_EQ(text.size(), upper.size());
    EXPECT_EQ(toSystemCodePage(text), upper);
}

}  // namespace
}  // namespace veltaro
