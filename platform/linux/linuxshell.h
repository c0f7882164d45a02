// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "shell.h"

namespace veltaro {

// The desktop's URL opener (xdg-open), started detached in the given
// folder so that it outlives nothing of ours. Only "Open" is understood.
class LinuxShell final : public Shell {
public:
    explicit LinuxShell(std::string opener = "xdg-open");

    bool execute(WindowHandle owner, const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCommand) override;

private:
    std::string m_opener;
};

}  // namespace veltaro
