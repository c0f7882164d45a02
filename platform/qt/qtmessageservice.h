// SPDX-License-Identifier: MIT
#pragma once

#include "messageservice.h"

namespace veltaro {

// Message boxes of the window toolkit.
class QtMessageService final : public MessageService {
public:
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
};

}  // namespace veltaro
