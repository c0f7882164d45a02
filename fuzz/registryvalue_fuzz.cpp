// SPDX-License-Identifier: MIT
// ReadRegistryValue against a registry that answers the open and the
// query with whatever the input says: any status, type code, data and
// reported size. The buffer of the read is 1024 bytes; the stand-in
// copies at most what the caller offers, as the registry call does, so
// any read past it is the reader's own (AddressSanitizer reports it).
// Whatever happens, the sub-key opened must be closed again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fakecomputername.h"
#include "functions.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"

namespace veltaro {
namespace {

// Reads the fuzz input front to back; past its end everything is 0.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint32_t u32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t{byte()} << (8 * i);
        return value;
    }

    std::uint8_t byte() { return m_offset < m_size ? m_data[m_offset++] : 0; }

    std::vector<std::uint8_t> rest()
    {
        std::vector<std::uint8_t> bytes(m_data + m_offset, m_data + m_size);
        m_offset = m_size;
        return bytes;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

// A registry that knows one key and answers every query from the input.
class ScriptedRegistry final : public RegistryBackend {
public:
    RegistryStatus openStatus = kRegistrySuccess;
    RegistryStatus queryStatus = kRegistrySuccess;
    std::uint32_t type = kRegNone;
    std::uint32_t reportedSize = 0;
    std::vector<std::uint8_t> data;

    RegistryStatus connect(const std::string&, RegistryKey, RegistryKey& result) override
    {
        result = kHKeyLocalMachine;
        return kRegistrySuccess;
    }

    RegistryStatus openKey(RegistryKey, const std::string&, std::uint32_t, std::uint32_t, RegistryKey& result) override
    {
        result = openStatus == kRegistrySuccess ? kOpenedKey : kNoRegistryKey;
        return openStatus;
    }

    RegistryStatus queryValue(RegistryKey key, const std::string&, std::uint32_t& typeOut, std::uint8_t* buffer,
                              std::uint32_t& dataSize) override
    {
        if (key != kOpenedKey)
            std::abort();
        typeOut = type;
        if (buffer != nullptr && !data.empty())
            std::memcpy(buffer, data.data(), std::min<std::size_t>(data.size(), dataSize));
        dataSize = reportedSize;
        return queryStatus;
    }

    RegistryStatus closeKey(RegistryKey) override { return kRegistrySuccess; }

    static constexpr RegistryKey kOpenedKey = 0x1234;
};

bool isUpperHex(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'); });
}

}  // namespace
}  // namespace veltaro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veltaro;
    InputReader input(data, size);
    ScriptedRegistry scripted;
    // A zero byte means success, so that most inputs reach the rendering.
    const std::uint8_t statusChoice = input.byte();
    scripted.openStatus = (statusChoice & 0x0F) == 1 ? kRegistryFileNotFound : kRegistrySuccess;
    scripted.queryStatus = (statusChoice & 0xF0) == 0x10 ? static_cast<RegistryStatus>(input.u32()) : kRegistrySuccess;
    scripted.type = input.u32();
    scripted.reportedSize = input.u32();
    scripted.data = input.rest();

    RecordingRegistry registry(scripted);
    FakeComputerName computerName("box");
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);
    const std::wstring value = functions.ReadRegistryValue(L"HARDWARE\\DESCRIPTION\\System", L"Identifier");

    if (!registry.openSubKeys.empty())
        std::abort();
    const bool read = scripted.openStatus == kRegistrySuccess && scripted.queryStatus == kRegistrySuccess;
    const bool rendered = scripted.type == kRegSz || scripted.type == kRegMultiSz || scripted.type == kRegDword;
    if ((!read || !rendered) && !value.empty())
        std::abort();
    if (read && scripted.type == kRegDword && (!isUpperHex(value) || (!value.empty() && value.front() == L'0')))
        std::abort();
    // A text ends at its NUL or with the buffer, never beyond.
    if (read && scripted.type != kRegDword && value.size() > 1024)
        std::abort();
    return 0;
}
