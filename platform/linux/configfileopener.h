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

    // An invalid descriptor when the file cannot be opened.
    virtual UniqueFd open(const std::filesystem::path& configFile) = 0;
};

// Opens the file with the rights of this process.
class DirectConfigFileOpener final : public ConfigFileOpener {
public:
    UniqueFd open(const std::filesystem::path& configFile) override;
};

}  // namespace veltaro
