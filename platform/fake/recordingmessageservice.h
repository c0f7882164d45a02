// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "messageservice.h"

namespace veltaro {

// Records each message box instead of showing it. `onShow` runs while the
// box would be open, so a test can look at the world at that moment.
class RecordingMessageService final : public MessageService {
public:
    struct Message {
        std::wstring text;
        std::wstring title;
        MessageIcon icon;
    };

    std::vector<Message> shown;
    std::function<void()> onShow;

    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
        if (onShow)
            onShow();
    }
};

}  // namespace veltaro
