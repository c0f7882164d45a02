// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace veltaro {

// A registry handle; 0 is no handle.
using RegistryKey = std::uintptr_t;

inline constexpr RegistryKey kNoRegistryKey = 0;
inline constexpr RegistryKey kHKeyLocalMachine = 0x8000'0002;

// Query value, enumerate sub-keys, notify, and the standard read right.
inline constexpr std::uint32_t kKeyRead = 0x0002'0019;

// Statuses, as the registry reports them: 0 success, anything else a failure.
using RegistryStatus = std::int32_t;
inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryFileNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryInvalidHandle = 6;
inline constexpr RegistryStatus kRegistryBadNetPath = 53;
inline constexpr RegistryStatus kRegistryMoreData = 234;

// Value type codes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// The registry through its narrow-character calls: key paths, value names,
// machine names and text data are bytes in the system's code page.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Connects to the predefined key of the named computer and stores the
    // handle in `result`; on failure `result` becomes kNoRegistryKey.
    virtual RegistryStatus connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result) = 0;

    // Opens `subKey` (backslash separated, no leading backslash) below
    // `parent`. On failure `result` becomes kNoRegistryKey.
    virtual RegistryStatus openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                                   std::uint32_t desiredAccess, RegistryKey& result) = 0;

    // Copies the value's data to the start of `data`, whose capacity is
    // `dataSize` bytes on entry; bytes past the data are left alone. On
    // return `dataSize` is the size of the value's data. kRegistryMoreData
    // when it does not fit (nothing is copied); a null `data` asks for the
    // type and size only.
    virtual RegistryStatus queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                      std::uint8_t* data, std::uint32_t& dataSize) = 0;

    virtual RegistryStatus closeKey(RegistryKey key) = 0;
};

}  // namespace veltaro
