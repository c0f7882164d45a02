// SPDX-License-Identifier: MIT
#include "linuxcomputername.h"

#include <sys/utsname.h>

#include <cstring>

namespace veltaro {

std::optional<std::string> LinuxComputerName::hostName()
{
    struct utsname names {};
    if (::uname(&names) != 0)
        return std::nullopt;
    return std::string(names.nodename, ::strnlen(names.nodename, sizeof names.nodename));
}

bool LinuxComputerName::query(char* buffer, std::uint32_t& size)
{
    const std::optional<std::string> name = hostName();
    return name && copyComputerName(*name, buffer, size);
}

}  // namespace veltaro
