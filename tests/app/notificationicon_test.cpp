// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "notificationicon.h"

namespace veltaro {
namespace {

// At every size, "--" and 0 to 255 draw one run of columns per character,
// with a clear column between neighbours, inside a frame of background.
TEST(NotificationIconTest, EveryNumberDrawsSeparateDigitsInsideTheIcon)
{
    for (const int side : kNotificationIconSides) {
        for (int number = -1; number <= 255; ++number) {
            const std::string text = number < 0 ? "--" : std::to_string(number);
            SCOPED_TRACE(std::to_string(side) + " px, " + text);
            const IconPicture picture = notificationIcon(number < 0 ? std::nullopt : std::optional(number), side);
            std::size_t runs = 0;
            bool previousInked = false;
            for (int x = 0; x < side; ++x) {
                bool inked = false;
                for (int y = 0; y < side; ++y)
                    inked = inked || picture.at(x, y) == kIconDigitColour;
                runs += inked && !previousInked ? 1 : 0;
                previousInked = inked;
                for (const int y : {0, side - 1})
                    EXPECT_TRUE(picture.at(x, y) == kIconBackgroundColour && picture.at(y, x) == kIconBackgroundColour);
            }
            EXPECT_EQ(runs, text.size());
        }
        EXPECT_NE(notificationIcon(52, side).pixels, notificationIcon(53, side).pixels);
        EXPECT_NE(notificationIcon(8, side).pixels, notificationIcon(0, side).pixels);
    }
}

TEST(FitWholeLinesTest, DropsWholeLinesFromTheEnd)
{
    const std::tuple<std::wstring, std::size_t, std::wstring> rows[] = {
        {L"52'C\nNode 0: 52'C", 17, L"52'C\nNode 0: 52'C"},
        {L"52'C\nNode 0: 52'C", 16, L"52'C"},
        {L"abcdef\ngh", 5, L""},
        {L"ab\n", 10, L"ab"}};
    for (const auto& [text, limit, fitted] : rows)
        EXPECT_EQ(fitWholeLines(text, limit), fitted) << limit;
}

}  // namespace
}  // namespace veltaro
