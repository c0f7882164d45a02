// SPDX-License-Identifier: MIT
// The programs as built, started under Wine as a user would start them,
// and looked at from outside through their windows: Veltaro.exe with the
// stand-in port driver beside it (on each route to a temperature there
// is, and with another program holding the ports' mutex), without it,
// with a library of that name only in the current folder, through the
// stand-in PawnIO and its modules or past them, and Veltaro-demo.exe.

#include <gtest/gtest.h>

#include <cpuid.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "elementids.h"
#include "mutexholderprocess.h"
#include "processorfamilies.h"
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
        << "shows " << ::testing::PrintToString(testing::windowText(readout));
    EXPECT_EQ(testing::windowText(::GetDlgItem(window, kLblProcessorNameId)).rfind(L" CPU: ", 0), 0u);
    EXPECT_EQ(testing::windowText(::GetDlgItem(window, kTxtsignId)), L"10");

    click(::GetDlgItem(window, kLabel3Id));
    ASSERT_TRUE(waitFor([&] { return !readRecorded(recorded).empty(); })) << "the mail program was not started";
    EXPECT_NE(readRecorded(recorded).find(std::wstring(L"mailto: ") + product::kContactAddress), std::wstring::npos)
        << std::string(readRecorded(recorded).begin(), readRecorded(recorded).end());

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(0));
}

// Veltaro.exe with the stand-in driver, once its window shows.
class VeltaroOn {
public:
    explicit VeltaroOn(const wchar_t* processor)
        : m_processor(processor)
        , m_program(testFolder("with-driver") / "Veltaro.exe", testFolder("with-driver"))
        , m_window(m_program.waitForWindow(kFrmmainClass, L"Veltaro"))
    {
        if (m_window != nullptr && !waitFor([&] { return ::IsWindowVisible(m_window) != FALSE; }))
            m_window = nullptr;
    }

    HWND window() const { return m_window; }
    std::wstring readout() const { return testing::windowText(::GetDlgItem(m_window, kLbltempId)); }
    std::wstring familyCode() const { return testing::windowText(::GetDlgItem(m_window, kTxtsignId)); }

    // The readout once it shows `caption`, or as it is after 10 s.
    std::wstring readoutOnceItShows(const std::wstring& caption) const
    {
        std::wstring shown;
        waitFor([&] { return (shown = readout()) == caption; });
        return shown;
    }

    std::optional<DWORD> close() const
    {
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        return m_program.waitForEnd();
    }

private:
    SimulatedProcessor m_processor;
    StartedProgram m_program;
    HWND m_window;
};

struct FamilyCase {
    const char* name;
    const wchar_t* processor;
    const wchar_t* familyCode;
    const wchar_t* caption;
};

void PrintTo(const FamilyCase& row, std::ostream* out)
{
    *out << row.name;
}

class EndToEndFamilyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(EndToEndFamilyTest, ShowsTheReadingOfItsRegister)
{
    const VeltaroOn veltaro(GetParam().processor);
    ASSERT_NE(veltaro.window(), nullptr) << "no window";
    EXPECT_EQ(veltaro.readoutOnceItShows(GetParam().caption), GetParam().caption);
    EXPECT_EQ(veltaro.familyCode(), GetParam().familyCode);
    EXPECT_EQ(veltaro.close(), std::optional<DWORD>(0));
}

// The registers' figures are in winiodouble.cpp.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Processors, EndToEndFamilyTest,
    ::testing::Values(
        // F3xA4 420 eighths, 52.5 degrees.
        FamilyCase{"family_15h", L"family-15h", L"15", L" 52'C"},
        // 852 eighths in the other range: 106.5 less 49.
        FamilyCase{"family_15h_other_range", L"family-15h-other-range", L"15", L" 57'C"},
        // 489 eighths behind D0F0xB8/D0F0xBC, while F3xA4 reads 52.5.
        FamilyCase{"family_15h_model_60h", L"family-15h-model-60h", L"15", L" 61'C"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// What CPUID says of the processor these tests run on; Wine does not
// stand between a program and that instruction.
struct HostProcessor {
    std::string vendor;
    unsigned family = 0;
    unsigned model = 0;
    std::string brandString;
};

HostProcessor hostProcessor()
{
    HostProcessor host;
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (__get_cpuid(0, &eax, &ebx, &ecx, &edx) == 0)
        return host;
    for (const unsigned part : {ebx, edx, ecx})
        host.vendor.append(reinterpret_cast<const char*>(&part), 4);
    __get_cpuid(1, &eax, &ebx, &ecx, &edx);
    host.family = (eax >> 8) & 0xF;
    host.model = (eax >> 4) & 0xF;
    if (host.family == 0xF) {
        host.family += (eax >> 20) & 0xFF;
        host.model |= ((eax >> 16) & 0xF) << 4;
    }
    for (unsigned function = 0x8000'0002; function <= 0x8000'0004; ++function) {
        unsigned parts[4] = {};
        if (__get_cpuid(function, &parts[0], &parts[1], &parts[2], &parts[3]) == 0)
            break;
        host.brandString.append(reinterpret_cast<const char*>(parts), sizeof parts);
    }
    host.brandString.resize(std::strlen(host.brandString.c_str()));
    return host;
}

// A Zen's signature register reads 0: the family comes from CPUID, here
// the host's, and the reading from the system management network.
TEST(EndToEnd, OnAZenTheReadingComesThroughTheSystemManagementNetwork)
{
    const HostProcessor host = hostProcessor();
    const ProcessorFamily* row = findProcessorFamily(vendorOf(host.vendor), host.family, host.model);
    if (row == nullptr || row->thermalRegister != ThermalRegister::SmnReportedTemperature)
        GTEST_SKIP() << "CPUID says " << host.vendor << " family " << std::hex << host.family
                     << "h: the simulated Zen takes its family from the host, which must read its sensor through the "
                        "system management network";

    // 367 eighths, 45.875 degrees, less the model's offset of its control reading.
    const std::wstring caption = L" " + std::to_wstring(45 - dieOffsetCelsius(host.family, host.brandString)) + L"'C";
    wchar_t familyCode[8] = {};
    std::swprintf(familyCode, std::size(familyCode), L"%x", host.family);
    const VeltaroOn veltaro(L"zen");
    ASSERT_NE(veltaro.window(), nullptr) << "no window";
    EXPECT_EQ(veltaro.readoutOnceItShows(caption), caption);
    EXPECT_EQ(veltaro.familyCode(), familyCode);
    EXPECT_EQ(veltaro.close(), std::optional<DWORD>(0));
}

// PawnIO's installer records its folder in the registry; here the
// stand-in's, under `key` while this lives.
struct PawnIoRecorded {
    PawnIoRecorded(const wchar_t* key, const wchar_t* value, DWORD type)
        : key(key)
    {
        ::SetEnvironmentVariableW(L"VELTARO_TEST_FOLDER", testFolder("pawnio-install").c_str());
        const std::wstring folder =
            type == REG_EXPAND_SZ ? L"%VELTARO_TEST_FOLDER%" : testFolder("pawnio-install").wstring();
        if (key != nullptr)
            ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, value, type, folder.c_str(),
                              static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~PawnIoRecorded() { key != nullptr&& ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key); }
    const wchar_t* key;
};

// PawnIO where it is installed and takes the module; else WinIo beside
// the program; else the driver message. Both stand-ins simulate a Zen
// whose family is the host's.
TEST(EndToEnd, ReadsThroughPawnIoFirstThenWinIoThenShowsTheDriverMessage)
{
    const HostProcessor host = hostProcessor();
    const ProcessorFamily* row = findProcessorFamily(vendorOf(host.vendor), host.family, host.model);
    if (row == nullptr || row->thermalRegister != ThermalRegister::SmnReportedTemperature)
        GTEST_SKIP() << "the host is no Zen";
    const wchar_t* const pawnIo = L"SOFTWARE\\PawnIO";
    const wchar_t* const uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PawnIO";
    struct Case {
        const char* folder;
        const wchar_t* key;
        const wchar_t* value;
        int celsius;  // 0: the driver message
        DWORD type = REG_SZ;
    };
    // 392 eighths from PawnIO's stand-in, 367 from the port driver's.
    // clang-format off
    const Case cases[] = {{"pawnio", pawnIo, L"Install_Dir", 49},         {"pawnio", uninstall, L"InstallLocation", 49},
                          {"pawnio-refused", pawnIo, L"Install_Dir", 45}, {"with-driver", pawnIo, L"Install_Dir", 45},
                          {"no-driver", pawnIo, L"Install_Dir", 0},       {"pawnio-beside", nullptr, nullptr, 0},
                          // PawnIO 2.0.0's 32-bit installer, in the 32-bit view; a folder to expand.
                          {"pawnio", L"SOFTWARE\\WOW6432Node\\PawnIO", L"Install_Dir", 49},
                          {"pawnio", uninstall, L"InstallLocation", 49, REG_EXPAND_SZ}};
    // clang-format on
    const SimulatedProcessor winio(L"zen");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.folder);
        const fs::path folder = testFolder(row.folder);
        const fs::path log = folder / "pawnio-calls.txt";
        fs::remove(log);
        ::SetEnvironmentVariableW(L"VELTARO_PAWNIO_DOUBLE_LOG", log.c_str());
        const PawnIoRecorded recorded(row.key, row.value, row.type);
        const StartedProgram veltaro(folder / "Veltaro.exe", folder);
        if (row.celsius == 0) {
            HWND box = veltaro.waitForWindow(L"#32770", driverMessageTitle());
            ASSERT_NE(box, nullptr) << "no driver message";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(1));
            continue;
        }
        HWND window = veltaro.waitForWindow(kFrmmainClass, L"Veltaro");
        ASSERT_NE(window, nullptr) << "no window";
        const std::wstring caption =
            L" " + std::to_wstring(row.celsius - dieOffsetCelsius(host.family, host.brandString)) + L"'C";
        EXPECT_TRUE(waitFor([&] { return testing::windowText(::GetDlgItem(window, kLbltempId)) == caption; }));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(veltaro.waitForEnd(), std::optional<DWORD>(0));
        // Every call of PawnIO's under Global\Access_PCI.
        const std::wstring calls = readRecorded(log);
        EXPECT_EQ(calls.find(L" free"), std::wstring::npos) << std::string(calls.begin(), calls.end());
        EXPECT_EQ(calls.find(L"ioctl_read_smn 0x59800 held\n") != std::wstring::npos, row.celsius == 49);
    }
    ::SetEnvironmentVariableW(L"VELTARO_PAWNIO_DOUBLE_LOG", nullptr);
}

// Another hardware monitor holds "Global\Access_PCI" for a while: the
// ticks find it taken and show no reading, without holding up the window,
// and the reading comes back once the other lets go.
TEST(EndToEnd, WhileAnotherProgramHoldsThePortsMutexTheReadoutIsEmptyAndTheWindowAnswers)
{
    const VeltaroOn veltaro(L"family-10h");
    ASSERT_NE(veltaro.window(), nullptr) << "no window";
    ASSERT_EQ(veltaro.readoutOnceItShows(L" 55'C"), L" 55'C");

    testing::MutexHolderProcess holder(testFolder("with-driver") / "mutexholder.exe");
    ASSERT_TRUE(holder.holding()) << "the other program never had the mutex";
    EXPECT_EQ(veltaro.readoutOnceItShows(L""), L"");
    // Five ticks and more.
    for (int look = 0; look < 10 && !HasFailure(); ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(veltaro.readout(), L"") << "after " << look * 100 << " ms more";
        DWORD_PTR answer = 0;
        EXPECT_NE(::SendMessageTimeoutW(veltaro.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0)
            << "the window did not answer within a second";
    }

    EXPECT_EQ(holder.letGo(), std::optional<DWORD>(0));
    EXPECT_EQ(veltaro.readoutOnceItShows(L" 55'C"), L" 55'C");
    EXPECT_EQ(veltaro.close(), std::optional<DWORD>(0));
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
