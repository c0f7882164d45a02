// SPDX-License-Identifier: MIT
// The program file's icon and version record, as Windows reads them back
// from a program linked with the same resource script as Veltaro.exe
// (this test program).

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "bytereader.h"
#include "icoreader.h"
#include "productinfo.h"

namespace veltaro {
namespace {

class VersionRecord {
public:
    VersionRecord()
    {
        wchar_t file[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, file, MAX_PATH);
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
        if (size == 0)
            throw std::runtime_error("this program carries no version record");
        m_data.resize(size);
        if (!::GetFileVersionInfoW(file, 0, size, m_data.data()))
            throw std::runtime_error("cannot read the version record");
    }

    template <typename T> const T* find(const std::wstring& path, UINT& size)
    {
        void* value = nullptr;
        size = 0;
        if (!::VerQueryValueW(m_data.data(), path.c_str(), &value, &size))
            return nullptr;
        return static_cast<const T*>(value);
    }

    std::wstring text(const std::wstring& name)
    {
        UINT size = 0;
        const auto* value = find<wchar_t>(L"\\StringFileInfo\\040904B0\\" + name, size);
        return value == nullptr ? L"(missing)" : std::wstring(value);
    }

private:
    std::vector<BYTE> m_data;
};

TEST(VersionResourceTest, CarriesTheNumericVersionOfAProgram)
{
    VersionRecord record;
    UINT size = 0;
    const auto* fixed = record.find<VS_FIXEDFILEINFO>(L"\\", size);
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(product::kVersionNumbers[1], product::kVersionNumbers[0]);
    const DWORD low = MAKELONG(product::kVersionNumbers[3], product::kVersionNumbers[2]);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
}

TEST(VersionResourceTest, HasOneUsEnglishUnicodeStringTable)
{
    VersionRecord record;
    UINT size = 0;
    const auto* translation = record.find<WORD>(L"\\VarFileInfo\\Translation", size);
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(size, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
}

TEST(VersionResourceTest, NamesTheProductVersionAndAuthor)
{
    // 1.0.0.0 shows as "1.00".
    ASSERT_EQ(std::wstring(product::kVersionText), L"1.00");

    VersionRecord record;
    EXPECT_EQ(record.text(L"FileVersion"), product::kVersionText);
    EXPECT_EQ(record.text(L"ProductVersion"), product::kVersionText);
    EXPECT_EQ(record.text(L"ProductName"), L"Veltaro");
    EXPECT_EQ(record.text(L"InternalName"), L"Veltaro");
    EXPECT_EQ(record.text(L"OriginalFilename"), L"Veltaro.exe");
    EXPECT_EQ(record.text(L"CompanyName"), product::kAuthorName);
}

TEST(VersionResourceTest, CarriesTheProgramIconImageForImage)
{
    const std::vector<std::uint8_t> ico = testing::readBytes(VELTARO_RESOURCES_DIR "/veltaro.ico");
    const testing::IcoFile icon = testing::parseIco(ico);
    ASSERT_EQ(icon.entries.size(), 1u);

    const HMODULE program = ::GetModuleHandleW(nullptr);
    ASSERT_NE(::LoadIconW(program, MAKEINTRESOURCEW(1)), nullptr);

    // The group lists each image with the id of its own icon resource.
    HRSRC group = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* groupBytes = static_cast<const BYTE*>(::LockResource(::LoadResource(program, group)));
    ASSERT_EQ(::SizeofResource(program, group), 6u + 14u);
    WORD count = 0;
    WORD imageId = 0;
    std::memcpy(&count, groupBytes + 4, sizeof count);
    std::memcpy(&imageId, groupBytes + 6 + 12, sizeof imageId);
    ASSERT_EQ(count, 1);

    HRSRC image = ::FindResourceW(program, MAKEINTRESOURCEW(imageId), MAKEINTRESOURCEW(3));  // RT_ICON
    ASSERT_NE(image, nullptr);
    const auto* imageBytes = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(program, image)));
    const testing::IcoEntry& entry = icon.entries[0];
    ASSERT_EQ(::SizeofResource(program, image), entry.bytes);
    EXPECT_TRUE(std::equal(imageBytes, imageBytes + entry.bytes, ico.begin() + entry.offset));
}

}  // namespace
}  // namespace veltaro
