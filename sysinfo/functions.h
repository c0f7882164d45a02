// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "registrybackend.h"

namespace veltaro {

class ComputerName;
class MessageService;

// The title of every message box that brings none of its own.
inline constexpr wchar_t kApplicationTitle[] = L"Veltaro";

// The registry and computer-name routines, and the state they share for
// the whole run: the registry connection, the computer name and the
// processor name. One instance per run; nothing is ever released.
//
// Texts are wide here and narrow, in the system's code page, at the
// registry and computer-name calls.
class Functions {
public:
    Functions(RegistryBackend& registry, ComputerName& computerName, MessageService& messages);

    // One value of a key below RegistryRoot, as text: REG_SZ and
    // REG_MULTI_SZ up to the first NUL, REG_DWORD in shortest upper-case
    // hexadecimal (0 gives ""), any other type "". Every failure gives "".
    std::wstring ReadRegistryValue(const std::wstring& keyPath, const std::wstring& valueName);

    // The local computer's name, in full however long; also kept as HostName.
    std::wstring GetHostName();

    // Connects to HKEY_LOCAL_MACHINE of the named computer and keeps the
    // connection as RegistryRoot. 0: connected. 1: not connected, and the
    // user has been told so.
    std::int32_t ConnectRegistry(const std::wstring& computerName);

    // 0: the system identifier was read and ProcessorName is set (possibly
    // empty). 1: the system identifier read as empty; ProcessorName is left.
    std::int32_t CollectProcessorInfo();

    RegistryKey RegistryRoot() const { return m_registryRoot; }
    const std::wstring& HostName() const { return m_hostName; }
    const std::wstring& ProcessorName() const { return m_processorName; }

private:
    RegistryBackend& m_registry;
    ComputerName& m_computerName;
    MessageService& m_messages;

    RegistryKey m_registryRoot = kNoRegistryKey;
    std::wstring m_hostName;
    std::wstring m_processorName;
};

}  // namespace veltaro
