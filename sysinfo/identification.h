// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace veltaro {

class Functions;
class MessageService;

inline constexpr wchar_t kProcessorCaptionPrefix[] = L" CPU: ";
inline constexpr wchar_t kPermissionMessage[] = L"You do not have sufficient permission, or there is an access error.";

// The last stage of start-up: computer name, registry connection,
// processor name. Gives the caption of the processor line, " CPU: " and
// the name exactly as read. Gives nothing when the line keeps its caption;
// the user has then been told why, in one message box.
std::optional<std::wstring> identifyProcessor(Functions& functions, MessageService& messages);

}  // namespace veltaro
