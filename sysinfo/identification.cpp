// SPDX-License-Identifier: MIT
#include "identification.h"

#include "functions.h"
#include "messageservice.h"

namespace veltaro {

std::optional<std::wstring> identifyProcessor(Functions& functions, MessageService& messages)
{
    const std::wstring name = functions.GetHostName();
    // ConnectRegistry has told the user already.
    if (functions.ConnectRegistry(name) == 1)
        return std::nullopt;
    if (functions.CollectProcessorInfo() < 1)
        return kProcessorCaptionPrefix + functions.ProcessorName();
    messages.show(kPermissionMessage, kApplicationTitle, MessageIcon::None);
    return std::nullopt;
}

}  // namespace veltaro
