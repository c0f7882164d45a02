// SPDX-License-Identifier: MIT
#include "linuxprocessoridentity.h"

#include "cpuinfoprocessor.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace veltaro {

LinuxProcessorIdentity::LinuxProcessorIdentity(std::filesystem::path procRoot)
    : m_procRoot(std::move(procRoot))
{
}

std::optional<std::uint8_t> LinuxProcessorIdentity::brandIndex()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    // __get_cpuid checks the highest extended function first.
    if (__get_cpuid(0x8000'0001, &eax, &ebx, &ecx, &edx) == 0)
        return std::nullopt;
    return static_cast<std::uint8_t>((ebx >> 9) & 0x1F);
#else
    return std::nullopt;
#endif
}

std::optional<IdentifiedProcessor> LinuxProcessorIdentity::identify()
{
    return readProcessorZero(m_procRoot / "cpuinfo");
}

}  // namespace veltaro
