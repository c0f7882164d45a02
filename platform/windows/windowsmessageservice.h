// SPDX-License-Identifier: MIT
#pragma once

#include "messageservice.h"

namespace veltaro {

// MessageBoxW: a single OK button, the critical (stop) icon or none, the
// texts exactly as given.
class WindowsMessageService final : public MessageService {
public:
    void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
};

}  // namespace veltaro
