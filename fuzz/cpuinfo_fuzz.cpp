// SPDX-License-Identifier: MIT
// The processor description reader on any bytes. The tree it builds is
// then read the way the program reads it: the system identifier, and the
// first processor's name, identifier and clock. Every sub-key opened must
// be closed again, and the tree may only claim a machine when it
// describes a processor.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fakecomputername.h"
#include "functions.h"
#include "linuxhardwareregistry.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veltaro;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    LinuxHardwareRegistry tree = LinuxHardwareRegistry::fromText(text, "box");
    RecordingRegistry registry(tree);
    FakeComputerName computerName("box");
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);
    if (functions.ConnectRegistry(L"box") != 0)
        std::abort();

    const std::wstring machine = functions.ReadRegistryValue(L"HARDWARE\\DESCRIPTION\\System", L"Identifier");
    if (!machine.empty() && machine != L"AT/AT COMPATIBLE")
        std::abort();
    functions.CollectProcessorInfo();

    // Processor numbers come from the text; look at the first few.
    for (int number = 0; number < 4; ++number) {
        const std::wstring key = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_wstring(number);
        functions.ReadRegistryValue(key, L"ProcessorNameString");
        const std::wstring identifier = functions.ReadRegistryValue(key, L"Identifier");
        const std::wstring megahertz = functions.ReadRegistryValue(key, L"~MHz");
        // A processor key exists only for a processor with a vendor, and
        // then the machine is described too.
        const bool hasKey = registry.calls.back().kind == RecordingRegistry::Call::Kind::Close;
        if (hasKey && machine.empty())
            std::abort();
        if (!identifier.empty() && identifier.find(L" Family ") == std::wstring::npos)
            std::abort();
        // At most 4e9 MHz: eight hexadecimal digits.
        if (megahertz.size() > 8)
            std::abort();
    }
    if (!registry.openSubKeys.empty())
        std::abort();
    return 0;
}
