// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace veltaro {

enum class MessageIcon { None, Critical };

// Modal message boxes with a single OK button. `show` returns once the
// user has dismissed the box.
class MessageService {
public:
    virtual ~MessageService() = default;

    virtual void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) = 0;
};

}  // namespace veltaro
