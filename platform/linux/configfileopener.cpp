// SPDX-License-Identifier: MIT
#include "configfileopener.h"

#include <fcntl.h>

namespace veltaro {

UniqueFd DirectConfigFileOpener::open(const std::filesystem::path& configFile)
{
    return UniqueFd(::open(configFile.c_str(), O_RDONLY | O_CLOEXEC));
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
