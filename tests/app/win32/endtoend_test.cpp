// SPDX-License-Identifier: MIT
// The programs as built, started under Wine as a user would start them,
// and looked at from outside through their windows: Veltaro.exe with the
// stand-in port driver beside it (a family 10h processor at 55 degrees),
// without it, with a library of that name only in the current folder,
// and Veltaro-demo.exe.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "elementids.h"
#include "productinfo.h"
#include "programfolder.h"
#include "windowtesting.h"

namespace veltaro {
namespace {

namespace fs = std::filesystem;
using namespace win32;
using Clock = std::chrono::steady_clock;

constexpr auto kStartLimit = std::chrono::seconds(30);

// One started program, ended when the test is over.
class StartedProgram {
public:
    StartedProgram(const fs::path& program, const fs::path& currentFolder)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + program.wstring() + L"\"";
        m_started = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     currentFolder.c_str(), &startup, &m_process);
        if (m_started)
            ::CloseHandle(m_process.hThread);
    }
    ~StartedProgram()
    {
        if (!m_started)
            return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return m_started != FALSE; }

    // Its top-level window of this class and title, visible or not, once
    // it has one; null after the start limit.
    HWND waitForWindow(const wchar_t* windowClass, const std::wstring& title) const
    {
        const auto deadline = Clock::now() + kStartLimit;
        while (Clock::now() < deadline) {
            if (HWND found = findWindow(windowClass, title))
                return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return nullptr;
    }

    HWND findWindow(const wchar_t* windowClass, const std::wstring& title) const
    {
        for (HWND window = ::FindWindowExW(nullptr, nullptr, windowClass, title.c_str()); window != nullptr;
             window = ::FindWindowExW(nullptr, window, windowClass, title.c_str())) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == m_process.dwProcessId)
                return window;
        }
        return nullptr;
    }

    // The exit code once it has ended, or nothing after `limit`.
    std::optional<DWORD> waitForEnd(std::chrono::milliseconds limit = std::chrono::seconds(10)) const
    {
        if (::WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_process{};
    BOOL m_started = FALSE;
};

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(10))
{
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

fs::path testFolder(const char* name)
{
    return fs::path(programFolder()) / "endtoend" / name;
}

std::wstring driverMessageTitle()
{
    return std::wstring(L"Mailto: ") + product::kContactAddress;
}

void click(HWND element)
{
    ::PostMessageW(element, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(element, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The processor the stand-in driver simulates (winiodouble.h) in the
// programs started while this lives.
class SimulatedProcessor {
public:
    explicit SimulatedProcessor(const wchar_t* name) { ::SetEnvironmentVariableW(kVariable, name); }
    ~SimulatedProcessor() { ::SetEnvironmentVariableW(kVariable, nullptr); }
    SimulatedProcessor(const SimulatedProcessor&) = delete;
    SimulatedProcessor& operator=(const SimulatedProcessor&) = delete;

private:
    static constexpr wchar_t kVariable[] = L"VELTARO_WINIO_DOUBLE_PROCESSOR";
};

// The desktop's handler of "mailto:" addresses becomes the recorder.
void registerMailRecorder(const fs::path& recorder)
{
    HKEY command = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, L"mailto\\shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &command, nullptr),
              ERROR_SUCCESS);
    const std::wstring line = L"\"" + recorder.wstring() + L"\" \"%1\"";
    ::RegSetValueExW(command, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                     static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(command);
}

std::wstring readRecorded(const fs::path& file)
{
    std::wifstream in(file);
    return std::wstring((std::istreambuf_iterator<wchar_t>(in)), std::istreambuf_iterator<wchar_t>());
}

TEST(EndToEnd, WithTheDriverTheWindowShowsTheLiveReadingAndTheLinkReachesTheMailProgram)
{
    const fs::path folder = testFolder("with-driver");
    const fs::path recorded = folder / "mailto.txt";
    fs::remove(recorded);
    registerMailRecorder(folder / "mailrecorder.exe");
    const SimulatedProcessor processor(L"family-10h");
    const StartedProgram veltaro(folder / "Veltaro.exe", folder);
    ASSERT_TRUE(veltaro.started());

    HWND window = veltaro.waitForWindow(kFrmmainClass, L"Veltaro");
    ASSERT_NE(window, nullptr) << "no window";
    ASSERT_TRUE(waitFor([&] { return ::IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(veltaro.findWindow(nullptr, driverMessageTitle()), nullptr);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 307);
    EXPECT_EQ(client.bottom, 168);

    HWND readout = ::GetDlgItem(window, kLbltempId);
    EXPECT_TRUE(waitFor([&] { return testing::windowText(readout) == L" 55'C"; }))
        << "shows \"" << std::string(testing::windowText(readout).begin(), testing::windowText(readout).end()) << "\"";
    EXPECT_EQ(testing::windowText(::GetDlgItem(window, kLblProcessorNameId)).rfind(L" CPU: ", 0), 0u);
    EXPECT_EQ(testing::windowText(::GetDlgItem(window, kTxtsignId)), L"10");

    click(::GetDlgItem(window, kLabel3Id));
    ASSERT_TRUE(waitFor([&] { return !readRecorded(recorded).empty(); })) << "the mail program was not started";
    EXPECT_NE(readRecorded(recorded).find(std::wstring(L"mailto: ") + product::kContactAddress), std::wstring::npos)
        << std::string(readRecorded(recorded).begin(), readRecorded(recorded).end());

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(0));
}

// The system's resolution for programs started while it lives; 96 DPI
// again afterwards.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) { set(dpi); }
    ~SystemDpi() { set(USER_DEFAULT_SCREEN_DPI); }
    SystemDpi(const SystemDpi&) = delete;
    SystemDpi& operator=(const SystemDpi&) = delete;

private:
    static void set(DWORD dpi)
    {
        HKEY desktop = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &desktop, nullptr) != ERROR_SUCCESS)
            return;
        ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        ::RegCloseKey(desktop);
    }
};

// At 150 % the window lays itself out from its design at 144 DPI rather
// than being scaled up as a picture by the system.
TEST(EndToEnd, At150PercentTheWindowIsLaidOutAt144Dpi)
{
    const SystemDpi dpi(144);
    const fs::path folder = testFolder("with-driver");
    const StartedProgram veltaro(folder / "Veltaro.exe", folder);
    ASSERT_TRUE(veltaro.started());

    HWND window = veltaro.waitForWindow(kFrmmainClass, L"Veltaro");
    ASSERT_NE(window, nullptr) << "no window";
    ASSERT_TRUE(waitFor([&] { return ::IsWindowVisible(window) != FALSE; }));
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 461);
    EXPECT_EQ(client.bottom, 252);
    const RECT readout = testing::boxInParent(::GetDlgItem(window, kLbltempId));
    EXPECT_EQ(readout.left, 60);
    EXPECT_EQ(readout.top, 48);
    EXPECT_EQ(readout.right, 233);
    EXPECT_EQ(readout.bottom, 117);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(0));
}

// Only the driver message, with its icon and single OK button, and the
// end once it is dismissed. A "WinIo.dll" in the current folder is not the
// program's: it must not be taken for the driver.
TEST(EndToEnd, WithoutTheDriverBesideItOnlyTheDriverMessageShowsAndTheProgramEnds)
{
    for (const char* currentFolder : {"no-driver", "planted-library"}) {
        SCOPED_TRACE(currentFolder);
        const StartedProgram veltaro(testFolder("no-driver") / "Veltaro.exe", testFolder(currentFolder));
        ASSERT_TRUE(veltaro.started());

        HWND box = veltaro.waitForWindow(L"#32770", driverMessageTitle());
        ASSERT_NE(box, nullptr) << "no driver message";
        EXPECT_EQ(testing::windowText(::GetDlgItem(box, 0xFFFF)),
                  L"There is a problem with loading IO driver. In a Vista system, please run this program with "
                  L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
                  L"administrator' in popup menu. or Mail me.");
        int buttons = 0;
        int icons = 0;
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[16] = {};
            ::GetClassNameW(child, kind, 16);
            const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
            if (!::IsWindowVisible(child))
                continue;
            if (::lstrcmpiW(kind, L"Button") == 0)
                ++buttons;
            else if (::lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
                     ::SendMessageW(child, STM_GETICON, 0, 0) != 0)
                ++icons;
        }
        EXPECT_EQ(buttons, 1);
        EXPECT_EQ(icons, 1) << "no critical icon";
        EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
        HWND frmmain = veltaro.findWindow(kFrmmainClass, L"Veltaro");
        EXPECT_TRUE(frmmain == nullptr || !::IsWindowVisible(frmmain)) << "the window shows";

        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(1));
    }
}

TEST(EndToEnd, TheDemoShowsItsSimulatedReadingUnderItsOwnTitle)
{
    const fs::path folder = testFolder("no-driver");
    const StartedProgram demo(folder / "Veltaro-demo.exe", folder);
    ASSERT_TRUE(demo.started());

    HWND window = demo.waitForWindow(kFrmmainClass, L"Veltaro (simulated processor)");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitFor([&] { return ::IsWindowVisible(window) != FALSE; })) << "start-up did not end";
    HWND readout = ::GetDlgItem(window, kLbltempId);
    std::wstring caption;
    EXPECT_TRUE(waitFor([&] {
        caption = testing::windowText(readout);
        return caption.size() >= 5 && caption.front() == L' ' && caption.substr(caption.size() - 2) == L"'C";
    })) << std::string(caption.begin(), caption.end());
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(demo.waitForEnd(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace veltaro
