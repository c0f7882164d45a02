// SPDX-License-Identifier: MIT
#pragma once

#include "shell.h"

namespace veltaro {

// ShellExecuteA, with the texts exactly as given.
class WindowsShell final : public Shell {
public:
    bool execute(WindowHandle owner, const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCommand) override;
};

}  // namespace veltaro
