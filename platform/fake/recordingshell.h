// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "shell.h"

namespace veltaro {

// Records each request instead of handing it to the desktop.
class RecordingShell final : public Shell {
public:
    struct Request {
        WindowHandle owner;
        std::string operation;
        std::string file;
        std::string parameters;
        std::string directory;
        int showCommand;
    };

    std::vector<Request> requests;
    bool result = true;

    bool execute(WindowHandle owner, const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCommand) override
    {
        requests.push_back({owner, operation, file, parameters, directory, showCommand});
        return result;
    }
};

}  // namespace veltaro
