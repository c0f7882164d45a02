// SPDX-License-Identifier: MIT
#include "configfileopener.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace veltaro {

UniqueFd DirectConfigFileOpener::open(const std::filesystem::path& configFile)
{
    // The kernel's file is a plain file that never blocks. Anything else
    // found in its place (a FIFO with no writer would hold the open for
    // ever, and start-up with it) is refused, as the helper refuses it.
    UniqueFd fd(::open(configFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (fd.valid() && (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)))
        fd.reset();
    return fd;
}

EarlyConfigFileOpener::EarlyConfigFileOpener(std::filesystem::path configFile)
    : m_configFile(std::move(configFile))
    , m_early(DirectConfigFileOpener().open(m_configFile))
{
}

UniqueFd EarlyConfigFileOpener::open(const std::filesystem::path& configFile)
{
    if (configFile == m_configFile && m_early.valid())
        return std::move(m_early);
    return DirectConfigFileOpener().open(configFile);
}

}  // namespace veltaro
