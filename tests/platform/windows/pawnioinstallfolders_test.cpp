// SPDX-License-Identifier: MIT
// Where PawnIO's installers recorded its folder, as Wine's registry holds
// what the test writes there.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "pawniolibrary.h"

namespace veltaro {
namespace {

constexpr wchar_t kPawnIo[] = L"SOFTWARE\\PawnIO";
constexpr wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PawnIO";

struct Recorded {
    const wchar_t* key;
    const wchar_t* value;
    REGSAM view;
    DWORD type;
    std::wstring text;
};

struct FoldersCase {
    const char* name;
    std::vector<Recorded> recorded;
    std::vector<std::wstring> folders;
};

void forget()
{
    for (const wchar_t* key : {kPawnIo, kUninstall}) {
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, view, 0);
    }
}

TEST(PawnIoInstallFolders, ReadsEveryInstallersRecordInOrder)
{
    // clang-format off
    const FoldersCase cases[] = {
        {"every_place", {{kPawnIo, L"Install_Dir", KEY_WOW64_32KEY, REG_SZ, L"C:\\C"},
                         {kPawnIo, L"Install_Dir", KEY_WOW64_64KEY, REG_SZ, L"C:\\B"},
                         {kUninstall, L"InstallLocation", KEY_WOW64_64KEY, REG_SZ, L"\"C:\\A\\\""}},
            {L"C:\\A", L"C:\\B", L"C:\\C"}},
        // PawnIO 2.0.0's 32-bit installer.
        {"first_installer", {{kPawnIo, L"Install_Dir", KEY_WOW64_32KEY, REG_SZ, L"C:\\Program Files\\PawnIO"}},
            {L"C:\\Program Files\\PawnIO"}},
        {"expandable", {{kUninstall, L"InstallLocation", KEY_WOW64_64KEY, REG_EXPAND_SZ, L"%SystemDrive%\\PawnIO"},
                        {kPawnIo, L"Install_Dir", KEY_WOW64_32KEY, REG_SZ, L"PawnIO"}},
            {L"C:\\PawnIO"}},
    };
    // clang-format on
    for (const FoldersCase& row : cases) {
        SCOPED_TRACE(row.name);
        forget();
        for (const Recorded& record : row.recorded) {
            HKEY key = nullptr;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, record.key, 0, nullptr, 0, KEY_SET_VALUE | record.view,
                                        nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            ::RegSetValueExW(key, record.value, 0, record.type, reinterpret_cast<const BYTE*>(record.text.c_str()),
                             static_cast<DWORD>((record.text.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
        EXPECT_EQ(pawnIoInstallFolders(), row.folders);
    }
    forget();
}

}  // namespace
}  // namespace veltaro
