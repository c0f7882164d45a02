// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#include "uniquefd.h"

namespace veltaro {

// How the driver obtains its descriptor of the northbridge's `config` file.
// The kernel shows the registers past offset 64 only to a descriptor
// opened with administrator rights, whoever later reads through it, so
// obtaining the descriptor is the one privileged step.
class ConfigFileOpener {
public:
    virtual ~ConfigFileOpener() = default;

    // An invalid descriptor when the file cannot be opened or is not a
    // regular file.
    virtual UniqueFd open(const std::filesystem::path& configFile) = 0;
};

// Opens the file with the rights of this process.
class DirectConfigFileOpener final : public ConfigFileOpener {
public:
    UniqueFd open(const std::filesystem::path& configFile) override;
};

// Opens the file at once, with the rights this process has when it is
// made, and hands that descriptor out when the driver starts. Run as root,
// the program opens the registers this way before it gives up root for
// the user who started it.
class EarlyConfigFileOpener final : public ConfigFileOpener {
public:
    explicit EarlyConfigFileOpener(std::filesystem::path configFile);

    // The early descriptor, the first time it is asked for that file;
    // otherwise the file is opened with the rights of this process now.
    UniqueFd open(const std::filesystem::path& configFile) override;

private:
    std::filesystem::path m_configFile;
    UniqueFd m_early;
};

}  // namespace veltaro
