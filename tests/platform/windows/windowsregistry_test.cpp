// SPDX-License-Identifier: MIT
// The registry reader and the identification routines against the
// system's own registry. Each test makes its own key below
// HKEY_LOCAL_MACHINE through the wide-character calls, and removes it.

#include <gtest/gtest.h>

#include <windows.h>

#include <cpuid.h>

#include <cstring>
#include <string>
#include <vector>

#include "functions.h"
#include "recordingmessageservice.h"
#include "windowscomputername.h"
#include "windowsregistry.h"

namespace veltaro {
namespace {

using namespace std::string_literals;

class ScratchKey {
public:
    ScratchKey()
        : m_path(L"SOFTWARE\\VeltaroTest-" + std::to_wstring(::GetCurrentProcessId()))
    {
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &m_key, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot make the scratch key");
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey()
    {
        ::RegCloseKey(m_key);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_path.c_str());
    }

    const std::wstring& path() const { return m_path; }

    void set(const std::wstring& name, DWORD type, const void* data, std::size_t size)
    {
        if (::RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) !=
            ERROR_SUCCESS)
            throw std::runtime_error("cannot set a scratch value");
    }
    // Text with its terminating NUL, as the system stores strings.
    void setText(const std::wstring& name, DWORD type, const std::wstring& text)
    {
        set(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    void setDword(const std::wstring& name, DWORD value) { set(name, REG_DWORD, &value, sizeof value); }

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
};

class WindowsRegistryTest : public ::testing::Test {
protected:
    WindowsRegistry m_registry;
    WindowsComputerName m_computerName;
    RecordingMessageService m_messages;
    Functions m_functions{m_registry, m_computerName, m_messages};
};

TEST_F(WindowsRegistryTest, ConnectsToTheLocalComputerByName)
{
    EXPECT_EQ(m_functions.ConnectRegistry(m_functions.GetHostName()), 0);
    EXPECT_NE(m_functions.RegistryRoot(), kNoRegistryKey);
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(WindowsRegistryTest, ConnectingToAnUnknownComputerFailsWithTheMessage)
{
    EXPECT_EQ(m_functions.ConnectRegistry(L"VELTARO-NOHOST"), 1);
    EXPECT_EQ(m_functions.RegistryRoot(), kNoRegistryKey);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, L"Could not connect to registry on VELTARO-NOHOST");
}

TEST_F(WindowsRegistryTest, ReadsNothingBeforeAConnection)
{
    ScratchKey key;
    key.setText(L"Text", REG_SZ, L"there");
    EXPECT_EQ(m_functions.ReadRegistryValue(key.path(), L"Text"), L"");
    EXPECT_EQ(m_functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Identifier"), L"");
}

// Every value type as the system stores and returns it.
struct ValueCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    std::wstring expected;
};

void PrintTo(const ValueCase& row, std::ostream* out)
{
    *out << row.name;
}

std::vector<BYTE> bytesOf(const std::wstring& text)
{
    std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    return bytes;
}

std::vector<BYTE> bytesOf(DWORD value)
{
    std::vector<BYTE> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

class RegistryValueTest : public WindowsRegistryTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RegistryValueTest, ReadsTheValueAsText)
{
    const ValueCase& row = GetParam();
    ScratchKey key;
    key.set(L"Value", row.type, row.data.data(), row.data.size());
    ASSERT_EQ(m_functions.ConnectRegistry(m_functions.GetHostName()), 0);

    EXPECT_EQ(m_functions.ReadRegistryValue(key.path(), L"Value"), row.expected);
}

const std::wstring k1023(1023, L'a');
const std::wstring k1024(1024, L'b');

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RegistryValueTest,
    ::testing::Values(
        ValueCase{"sz", REG_SZ, bytesOf(L"  AMD Phenom(tm) II  "), L"  AMD Phenom(tm) II  "},
        ValueCase{"sz_empty", REG_SZ, bytesOf(L""), L""},
        // Through the system code page and back.
        ValueCase{"sz_accented", REG_SZ, bytesOf(L"Caf\u00E9"), L"Caf\u00E9"},
        ValueCase{"sz_1023_fits", REG_SZ, bytesOf(k1023), k1023},
        ValueCase{"sz_1024_too_long", REG_SZ, bytesOf(k1024), L""},
        ValueCase{"multi_sz_first_only", REG_MULTI_SZ, bytesOf(L"first\0second\0"s), L"first"},
        ValueCase{"dword_2000", REG_DWORD, bytesOf(2000), L"7D0"},
        ValueCase{"dword_15", REG_DWORD, bytesOf(15), L"F"},
        ValueCase{"dword_65536", REG_DWORD, bytesOf(65536), L"10000"},
        ValueCase{"dword_AB0000", REG_DWORD, bytesOf(0xAB0000), L"AB0000"},
        ValueCase{"dword_bit31", REG_DWORD, bytesOf(0x80000000), L"80000000"},
        ValueCase{"dword_all_ones", REG_DWORD, bytesOf(0xFFFFFFFF), L"FFFFFFFF"},
        ValueCase{"dword_0", REG_DWORD, bytesOf(0), L""},
        ValueCase{"expand_sz", REG_EXPAND_SZ, bytesOf(L"%SystemRoot%\\veltaro"), L""},
        ValueCase{"binary", REG_BINARY, {0x41, 0x42, 0x00}, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(WindowsRegistryTest, MissingKeysAndValuesReadAsEmpty)
{
    ScratchKey key;
    key.setText(L"Text", REG_SZ, L"there");
    ASSERT_EQ(m_functions.ConnectRegistry(m_functions.GetHostName()), 0);

    EXPECT_EQ(m_functions.ReadRegistryValue(key.path(), L"Text"), L"there");
    EXPECT_EQ(m_functions.ReadRegistryValue(key.path(), L"Missing"), L"");
    EXPECT_EQ(m_functions.ReadRegistryValue(key.path() + L"\\Missing", L"Text"), L"");
}

// The processor's brand string as the processor itself gives it.
std::string brandStringFromProcessor()
{
    unsigned int registers[12] = {};
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
        unsigned int* out = registers + 4 * leaf;
        if (__get_cpuid(0x80000002 + leaf, &out[0], &out[1], &out[2], &out[3]) == 0)
            return {};
    }
    std::string brand(reinterpret_cast<const char*>(registers), sizeof registers);
    return brand.substr(0, brand.find('\0'));
}

std::wstring trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? L"" : text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

TEST_F(WindowsRegistryTest, CollectsTheRealProcessorName)
{
    ASSERT_EQ(m_functions.ConnectRegistry(m_functions.GetHostName()), 0);
    ASSERT_EQ(m_functions.CollectProcessorInfo(), 0);

    const std::string brand = brandStringFromProcessor();
    ASSERT_FALSE(brand.empty()) << "the processor gives no brand string";
    // The system may trim the blanks that pad the processor's own string;
    // the program shows whatever the registry holds.
    EXPECT_EQ(trimmed(m_functions.ProcessorName()), trimmed(std::wstring(brand.begin(), brand.end())));
    EXPECT_TRUE(m_messages.shown.empty());
}

}  // namespace
}  // namespace veltaro
