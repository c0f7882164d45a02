// SPDX-License-Identifier: MIT
#include "functions.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "codepage.h"
#include "computername.h"
#include "messageservice.h"

namespace veltaro {

namespace {

constexpr std::size_t kDataBufferSize = 1024;
using DataBuffer = std::array<std::uint8_t, kDataBufferSize>;

constexpr wchar_t kSystemKey[] = L"HARDWARE\\Description\\System";
constexpr wchar_t kProcessorKey[] = L"HARDWARE\\Description\\System\\CentralProcessor\\0";

// Closes a sub-key when the read is over, whatever its outcome; the
// status of the close is of no use to anyone.
class SubKey {
public:
    SubKey(RegistryBackend& registry, RegistryKey key)
        : m_registry(registry)
        , m_key(key)
    {
    }
    SubKey(const SubKey&) = delete;
    SubKey& operator=(const SubKey&) = delete;
    ~SubKey() { m_registry.closeKey(m_key); }

    RegistryKey get() const { return m_key; }

private:
    RegistryBackend& m_registry;
    RegistryKey m_key;
};

// A NUL byte is a NUL character in every code page the system can use, so
// cutting the bytes before decoding them is the same as cutting the text.
// Data stored without its terminator can fill the whole buffer; the text
// then ends with the buffer.
std::wstring textBeforeFirstNul(const DataBuffer& buffer)
{
    const auto* bytes = reinterpret_cast<const char*>(buffer.data());
    const std::string_view all(bytes, buffer.size());
    return fromSystemCodePage(all.substr(0, all.find('\0')));
}

// The buffer's bytes from the last to the first, two digits each, from the
// first non-zero byte on. The number is stored least significant byte
// first in a zero-filled buffer, so this is its hexadecimal form with
// whole leading zero bytes skipped; one leading zero digit is then dropped.
std::wstring hexOfBuffer(const DataBuffer& buffer)
{
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    bool started = false;
    // Last to first; clang 14 cannot compile libstdc++ 12's views::reverse.
    for (auto byte = buffer.rbegin(); byte != buffer.rend(); ++byte) {  // NOLINT(modernize-loop-convert)
        started = started || *byte != 0;
        if (started) {
            text.push_back(kDigits[*byte >> 4]);
            text.push_back(kDigits[*byte & 0xF]);
        }
    }
    if (!text.empty() && text.front() == L'0')
        text.erase(0, 1);
    return text;
}

std::wstring renderValue(std::uint32_t type, const DataBuffer& buffer)
{
    switch (type) {
    case kRegSz:
    case kRegMultiSz:
        return textBeforeFirstNul(buffer);
    case kRegDword:
        return hexOfBuffer(buffer);
    default:
        return {};
    }
}

}  // namespace

Functions::Functions(RegistryBackend& registry, ComputerName& computerName, MessageService& messages)
    : m_registry(registry)
    , m_computerName(computerName)
    , m_messages(messages)
{
}

std::wstring Functions::ReadRegistryValue(const std::wstring& keyPath, const std::wstring& valueName)
{
    constexpr std::uint32_t kNoOptions = 0;
    RegistryKey opened = kNoRegistryKey;
    if (m_registry.openKey(m_registryRoot, toSystemCodePage(keyPath), kNoOptions, kKeyRead, opened) != kRegistrySuccess)
        return {};
    const SubKey subKey(m_registry, opened);

    DataBuffer buffer{};
    auto dataSize = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = kRegNone;
    // The size reported back is not needed: text stops at its NUL and the
    // number relies on the zero fill.
    if (m_registry.queryValue(subKey.get(), toSystemCodePage(valueName), type, buffer.data(), dataSize) !=
        kRegistrySuccess)
        return {};
    return renderValue(type, buffer);
}

std::wstring Functions::GetHostName()
{
    constexpr std::uint32_t kInitialSize = 32;
    // The name can change between two calls; give up growing after a few.
    constexpr int kGrowthAttempts = 3;

    std::string buffer(kInitialSize, 'X');
    std::uint32_t size = kInitialSize;
    bool named = m_computerName.query(buffer.data(), size);
    // Host names run to 64 characters. When the name does not fit, the
    // call says how much room it needs: ask again with that much, rather
    // than take the untouched buffer for a name.
    for (int attempt = 0; !named && size > buffer.size() && attempt < kGrowthAttempts; ++attempt) {
        buffer.assign(size, 'X');
        named = m_computerName.query(buffer.data(), size);
    }
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    m_hostName = fromSystemCodePage(buffer);
    return m_hostName;
}

std::int32_t Functions::ConnectRegistry(const std::wstring& computerName)
{
    if (m_registry.connect(toSystemCodePage(computerName), kHKeyLocalMachine, m_registryRoot) != kRegistrySuccess) {
        m_messages.show(L"Could not connect to registry on " + computerName, kApplicationTitle, MessageIcon::None);
        return 1;
    }
    return 0;
}

std::int32_t Functions::CollectProcessorInfo()
{
    if (ReadRegistryValue(kSystemKey, L"Identifier").empty())
        return 1;
    m_processorName = ReadRegistryValue(kProcessorKey, L"ProcessorNameString");
    return 0;
}

}  // namespace veltaro
