// SPDX-License-Identifier: MIT
// The native window over the window's behaviour, in this process, under
// Wine: its frame, its elements' boxes, fonts and colours, what it paints
// itself, the pointer over the author's name, and the timer and click.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <set>
#include <vector>

#include "elementids.h"
#include "fakeservices.h"
#include "frmmain.h"
#include "programfolder.h"
#include "windowtesting.h"

namespace veltaro {
namespace {

using namespace win32;

class Win32FrmmainTest : public ::testing::Test, protected testing::FakeServices {
protected:
    HWND element(int id) const { return ::GetDlgItem(window.handle(), id); }

    // The colours the window gives an element when the system draws it.
    struct Colours {
        COLORREF text;
        COLORREF background;
        COLORREF brush;
    };
    Colours coloursOf(int id) const
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
            window.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(element(id))));
        LOGBRUSH fill{};
        ::GetObjectW(brush, sizeof fill, &fill);
        const Colours colours{::GetTextColor(dc), ::GetBkColor(dc), fill.lbColor};
        ::DeleteDC(dc);
        return colours;
    }

    Frmmain window{::GetModuleHandleW(nullptr), services(), L"Veltaro"};
};

TEST_F(Win32FrmmainTest, HasAFixedFrameWithOnlyACloseButtonAndTheDesignedClientArea)
{
    ASSERT_EQ(::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY), 96) << "the figures below are those of 96 DPI";
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window.handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT client{};
    ::GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, 307);
    EXPECT_EQ(client.bottom, 168);
    EXPECT_EQ(testing::windowText(window.handle()), L"Veltaro");
    EXPECT_NE(::GetClassLongPtrW(window.handle(), GCLP_HICON), 0) << "no program icon";
}

struct BoxCase {
    const char* name;
    int id;
    RECT box;
};

class Win32ElementBoxTest : public Win32FrmmainTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(Win32ElementBoxTest, SitsWhereTheDesignPutsIt)
{
    const RECT box = testing::boxInParent(element(GetParam().id));
    const RECT& expected = GetParam().box;
    EXPECT_EQ(box.left, expected.left);
    EXPECT_EQ(box.top, expected.top);
    EXPECT_EQ(box.right, expected.right);
    EXPECT_EQ(box.bottom, expected.bottom);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Elements, Win32ElementBoxTest,
    ::testing::Values(
        BoxCase{"txtsign", kTxtsignId, {224, 168, 289, 187}},
        BoxCase{"Label3", kLabel3Id, {56, 104, 137, 129}},
        BoxCase{"lblProcessorName", kLblProcessorNameId, {-1, 151, 312, 172}},
        BoxCase{"lbltemp", kLbltempId, {40, 32, 155, 78}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The platform's dialog font: the face Windows reports for it, and its
// line height at 96 DPI.
TEST_F(Win32FrmmainTest, Label8FitsItsOneLineOfTheDialogFontAndKeepsItsCorner)
{
    LOGFONTW standard{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof standard, &standard);
    HWND label = element(kLabel8Id);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
    LOGFONTW used{};
    ASSERT_NE(::GetObjectW(font, sizeof used, &used), 0);
    EXPECT_STREQ(used.lfFaceName, standard.lfFaceName);

    HDC dc = ::GetDC(label);
    ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const std::wstring text = testing::windowText(label);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::ReleaseDC(label, dc);

    EXPECT_EQ(metrics.tmHeight, 13);
    const RECT box = testing::boxInParent(label);
    EXPECT_EQ(box.left, 32);
    EXPECT_EQ(box.top, 128);
    EXPECT_EQ(box.bottom - box.top, 13);
    EXPECT_EQ(box.right - box.left, extent.cx);
    for (const int id : {kLblProcessorNameId, kTxtsignId})
        EXPECT_EQ(::SendMessageW(element(id), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

struct FontCase {
    const char* name;
    int id;
    LONG height;
    bool underline;
};

class Win32SerifFontTest : public Win32FrmmainTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(Win32SerifFontTest, AsksForTimesNewRomanBoldAtTheDesignedSize)
{
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(element(GetParam().id), WM_GETFONT, 0, 0));
    LOGFONTW used{};
    ASSERT_NE(::GetObjectW(font, sizeof used, &used), 0);
    EXPECT_STREQ(used.lfFaceName, L"Times New Roman");
    EXPECT_EQ(used.lfHeight, GetParam().height);
    EXPECT_EQ(used.lfWeight, FW_BOLD);
    EXPECT_EQ(used.lfUnderline != 0, GetParam().underline);
    EXPECT_EQ(used.lfCharSet, ANSI_CHARSET);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Elements, Win32SerifFontTest,
    ::testing::Values(
        FontCase{"lbltemp_27_75pt", kLbltempId, -37, false},
        FontCase{"Label3_12pt_underlined", kLabel3Id, -16, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Win32FrmmainTest, GivesEachLabelItsColours)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF standardText = ::GetSysColor(COLOR_BTNTEXT);
    const struct {
        const char* name;
        int id;
        COLORREF text;
        COLORREF background;
    } rows[] = {
        {"lbltemp", kLbltempId, RGB(0, 255, 0), RGB(0, 0, 0)},
        {"lblProcessorName", kLblProcessorNameId, standardText, RGB(192, 255, 255)},
        {"Label3", kLabel3Id, RGB(0, 0, 255), face},
        {"Label8", kLabel8Id, standardText, face},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Colours colours = coloursOf(row.id);
        EXPECT_EQ(colours.text, row.text);
        EXPECT_EQ(colours.background, row.background);
        EXPECT_EQ(colours.brush, row.background);
    }
}

// The shadow in the system's inactive-title colour beneath the emblem,
// whose transparent margin lets the window's face show.
TEST_F(Win32FrmmainTest, PaintsTheShadowBeneathTheEmblemsTransparentMargin)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_INACTIVECAPTION);
    ASSERT_NE(face, shadow);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 307, 168);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RECT all{0, 0, 307, 168};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SendMessageW(window.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);

    for (const POINT margin : {POINT{193, 17}, POINT{204, 60}, POINT{240, 28}, POINT{200, 110}})
        EXPECT_EQ(::GetPixel(dc, margin.x, margin.y), face) << margin.x << "," << margin.y;
    for (const POINT band : {POINT{279, 40}, POINT{288, 100}, POINT{283, 112}, POINT{216, 103}, POINT{250, 112}})
        EXPECT_EQ(::GetPixel(dc, band.x, band.y), shadow) << band.x << "," << band.y;
    for (const POINT square : {POINT{240, 60}, POINT{278, 102}}) {
        EXPECT_NE(::GetPixel(dc, square.x, square.y), shadow) << square.x << "," << square.y;
        EXPECT_NE(::GetPixel(dc, square.x, square.y), face) << square.x << "," << square.y;
    }
    EXPECT_EQ(::GetPixel(dc, 289, 60), face);

    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

// The pixels that `paint` leaves in a bitmap the size of the element's
// client area.
template <typename Paint> std::vector<std::uint32_t> pixelsPaintedFor(HWND element, Paint paint)
{
    RECT box{};
    ::GetClientRect(element, &box);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, box.right, box.bottom);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    paint(dc, box);
    ::SelectObject(dc, previous);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, box.right, -box.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(box.right) * static_cast<std::size_t>(box.bottom));
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(box.bottom), pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixels;
}

// Above 96 DPI the emblem drawn at twice the size is brought down to the
// window's scale. At 150 % its opaque square, (307,43) to (418,154), may
// show only colours that the picture shows unscaled at 200 %: none that
// pixels merged into, no dark speckle, no black edge.
TEST_F(Win32FrmmainTest, At150PercentTheEmblemShowsOnlyItsOwnColours)
{
    const auto paintedAt = [&](UINT dpi) {
        RECT suggested{};
        ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        return pixelsPaintedFor(window.handle(), [&](HDC dc, RECT box) {
            ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
            ::SendMessageW(window.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
    };
    const std::vector<std::uint32_t> unscaled = paintedAt(192);
    const std::set<std::uint32_t> own(unscaled.begin(), unscaled.end());
    const std::vector<std::uint32_t> scaled = paintedAt(144);
    RECT client{};
    ::GetClientRect(window.handle(), &client);
    ASSERT_EQ(client.right, 461);
    std::size_t foreign = 0;
    for (std::size_t y = 43; y < 154; ++y)
        for (std::size_t x = 307; x < 418; ++x)
            foreign += own.count(scaled[y * 461 + x]) == 0 ? 1 : 0;
    EXPECT_EQ(foreign, 0u) << "of 111 x 111 pixels";
}

struct LiteralTextCase {
    const char* name;
    int id;
    // Short enough to show whole in the label's box.
    const wchar_t* text;
    // How the label lays out its line.
    UINT format;
};

void PrintTo(const LiteralTextCase& row, std::ostream* out)
{
    *out << row.name;
}

class Win32LiteralTextTest : public Win32FrmmainTest, public ::testing::WithParamInterface<LiteralTextCase> {};

// A processor name such as "AMD R&D Sample && Co" is shown as it stands:
// an ampersand marks no keyboard shortcut, and two are two. Each label is
// compared with its text drawn with no such marks, in its font and colours.
TEST_P(Win32LiteralTextTest, DrawsAmpersandsAsTheyStand)
{
    HWND label = element(GetParam().id);
    const std::wstring text = GetParam().text;
    ::SetWindowTextW(label, text.c_str());

    const std::vector<std::uint32_t> drawn = pixelsPaintedFor(label, [&](HDC dc, const RECT&) {
        ::SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    });
    const std::vector<std::uint32_t> literal = pixelsPaintedFor(label, [&](HDC dc, RECT box) {
        const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
            window.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
        ::FillRect(dc, &box, brush);
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
        ::DrawTextW(dc, text.c_str(), -1, &box, GetParam().format | DT_NOPREFIX);
    });
    ASSERT_EQ(drawn.size(), literal.size());
    std::size_t differing = 0;
    for (std::size_t pixel = 0; pixel < drawn.size(); ++pixel)
        differing += drawn[pixel] != literal[pixel] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "of " << drawn.size() << " pixels";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Labels, Win32LiteralTextTest,
    ::testing::Values(
        LiteralTextCase{"lblProcessorName", kLblProcessorNameId, L" CPU: AMD R&D Sample && Co", DT_LEFT | DT_EXPANDTABS},
        LiteralTextCase{"lbltemp", kLbltempId, L"R&&D", DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK},
        LiteralTextCase{"Label3", kLabel3Id, L"R&D&&", DT_LEFT | DT_EXPANDTABS},
        LiteralTextCase{"Label8", kLabel8Id, L"R&D && Co", DT_LEFT | DT_EXPANDTABS}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Win32FrmmainTest, ShowsTheEnvelopePointerOverTheAuthorOnly)
{
    const HCURSOR arrow = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    const auto pointerOver = [&](int id) {
        ::SetCursor(nullptr);
        ::SendMessageW(window.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(element(id)),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const HCURSOR envelope = pointerOver(kLabel3Id);
    EXPECT_NE(envelope, nullptr);
    EXPECT_NE(envelope, arrow);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(envelope, &info));
    BITMAP mask{};
    ::GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(info.xHotspot, 16u);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    for (const int id : {kLbltempId, kLabel8Id, kLblProcessorNameId})
        EXPECT_EQ(pointerOver(id), arrow) << id;
}

TEST_F(Win32FrmmainTest, StartsVisibleWithTheFocusInTheTextFieldAndTicksByItsTimer)
{
    ASSERT_TRUE(window.start());

    EXPECT_TRUE(::IsWindowVisible(window.handle()));
    EXPECT_EQ(::GetFocus(), element(kTxtsignId));
    EXPECT_EQ(testing::windowText(element(kTxtsignId)), L"10");
    EXPECT_EQ(testing::windowText(element(kLblProcessorNameId)), L" CPU: AMD Phenom(tm) II X4 940 Processor");
    EXPECT_EQ(testing::windowText(element(kLbltempId)), L"") << "empty until the first tick";

    space.value = 0x37000000;
    EXPECT_TRUE(testing::pumpUntil([&] { return testing::windowText(element(kLbltempId)) == L" 55'C"; }));
}

// The readout's tooltip shows also in an inactive window, over the
// readout's box; its text is read as it shows and follows the ticks.
TEST_F(Win32FrmmainTest, TheReadoutsTooltipShowsItsDetailsAndFollowsTheTicks)
{
    space.registers = {{0x8000C3FC, testing::kFamily10hSignature}, {0x8000C3A4, 0x3A000000}};
    space.value = 0xFFFFFFFF;  // no other node answers
    ASSERT_TRUE(window.start());
    ::KillTimer(window.handle(), Frmmain::Timer1);
    ::SendMessageW(window.handle(), WM_TIMER, Frmmain::Timer1, 0);

    // The tooltip is made when the pointer first moves over the window.
    ::SendMessageW(window.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    ASSERT_NE(window.readoutTip, nullptr);
    EXPECT_NE(::GetWindowLongW(window.readoutTip, GWL_STYLE) & TTS_ALWAYSTIP, 0);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(::SendMessageW(window.readoutTip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    RECT readout{};
    ::GetWindowRect(element(kLbltempId), &readout);
    ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&readout), 2);
    EXPECT_TRUE(::EqualRect(&tool.rect, &readout));

    // Resting the pointer there: the tooltip asks for its text.
    NMTTDISPINFOW asked{};
    asked.hdr = {window.readoutTip, 0, TTN_GETDISPINFOW};
    ::SendMessageW(window.handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&asked));
    ASSERT_NE(asked.lpszText, nullptr);
    EXPECT_STREQ(asked.lpszText, L"Node 0: 58'C\r\nHighest since start: 58'C");

    NMHDR shown{window.readoutTip, 0, TTN_SHOW};
    ::SendMessageW(window.handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&shown));
    space.registers[0x8000C3A4] = 0x3D000000;
    ::SendMessageW(window.handle(), WM_TIMER, Frmmain::Timer1, 0);
    wchar_t text[128] = {};
    tool.lpszText = text;
    ::SendMessageW(window.readoutTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Node 0: 61'C\r\nHighest since start: 61'C");
}

// A thousand changes of the number leave one icon alive (Wine's handle
// counts show nothing); the tooltip has the details; the icon goes with it.
TEST_F(Win32FrmmainTest, TheNotificationIconKeepsOneIconAliveAndLeavesWithTheWindow)
{
    space.registers = {{0x8000C3FC, testing::kFamily10hSignature}, {0x8000C3A4, 0x3A000000}};
    space.value = 0xFFFFFFFF;  // no other node answers
    ASSERT_TRUE(window.start());
    ::KillTimer(window.handle(), Frmmain::Timer1);
    ASSERT_TRUE(window.notifyIcon().added());

    for (std::uint32_t change = 0; change < 1000; ++change) {
        space.registers[0x8000C3A4] = (40 + change % 50) << 24;  // 40 to 89 degrees
        ::SendMessageW(window.handle(), WM_TIMER, Frmmain::Timer1, 0);
    }
    EXPECT_EQ(window.notifyIcon().liveIcons(), 1);
    EXPECT_STREQ(window.notifyIcon().data().szTip, L"Veltaro\n89'C\nNode 0: 89'C\nHighest since start: 89'C");

    ::SendMessageW(window.handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window.notifyIcon().added());
}

// The text field holds the FamilyCode and has the keyboard focus: what the
// user types must not change it, or every later tick matches no family
// and the readout freezes.
TEST_F(Win32FrmmainTest, KeysTypedIntoTheWindowLeaveTheFamilyCodeAndTheReadoutLive)
{
    ASSERT_TRUE(window.start());
    HWND field = element(kTxtsignId);
    ASSERT_EQ(::GetFocus(), field);
    const auto type = [&](UINT key) {
        ::PostMessageW(field, WM_KEYDOWN, key, 1);
        ::PostMessageW(field, WM_KEYUP, key, 0xC0000001);
    };
    type(VK_END);
    type(VK_BACK);
    type(VK_HOME);
    type(VK_DELETE);
    ::PostMessageW(field, WM_CHAR, L'x', 1);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    ::SendMessageW(field, WM_CUT, 0, 0);
    testing::pumpUntil([] { return false; }, std::chrono::milliseconds(300));

    EXPECT_EQ(testing::windowText(field), L"10");
    EXPECT_EQ(::GetFocus(), field) << "the field no longer takes the focus";
    space.value = 0x48000000;
    EXPECT_TRUE(testing::pumpUntil([&] { return testing::windowText(element(kLbltempId)) == L" 72'C"; }));
}

// The text field lies out of sight: a request for its context menu, as
// the menu key or Shift+F10 makes, may not open its Undo/Copy/Select All
// menu, which would hang below the window and copy out the FamilyCode.
TEST_F(Win32FrmmainTest, TheTextFieldOpensNoMenu)
{
    static int menus = 0;
    // Counts the menu windows about to be made, and keeps them from being made.
    const auto countMenus = [](int code, WPARAM made, LPARAM) -> LRESULT {
        wchar_t kind[8] = {};
        const bool menu = code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(made), kind, 8) > 0 &&
                          std::wstring(kind) == L"#32768";
        menus += menu ? 1 : 0;
        return menu ? 1 : 0;
    };
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, countMenus, nullptr, ::GetCurrentThreadId());
    HWND field = element(kTxtsignId);
    ::SendMessageW(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), -1);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(menus, 0);
}

TEST_F(Win32FrmmainTest, AClickOnTheAuthorHandsTheLinkToTheShellWithTheWindowAndTheProgramsFolder)
{
    ASSERT_TRUE(window.start());
    const auto click = [&](int id) {
        ::SendMessageW(element(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(element(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };

    click(kLabel8Id);
    click(kLbltempId);
    EXPECT_TRUE(shell.requests.empty());
    click(kLabel3Id);

    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].owner, reinterpret_cast<WindowHandle>(window.handle()));
    EXPECT_EQ(shell.requests[0].file.rfind("mailto: ", 0), 0u);
    const std::wstring folder = programFolder();
    EXPECT_EQ(shell.requests[0].directory, std::string(folder.begin(), folder.end()));
}

}  // namespace
}  // namespace veltaro
