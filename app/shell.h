// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace veltaro {

// The native handle of a top-level window, 0 when there is none.
using WindowHandle = std::uintptr_t;

// Hands a document or address to the desktop's default handler. Texts are
// narrow, in the system's code page.
class Shell {
public:
    virtual ~Shell() = default;

    // True when the request was handed on; callers may ignore the result.
    virtual bool execute(WindowHandle owner, const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& directory, int showCommand) = 0;
};

}  // namespace veltaro
