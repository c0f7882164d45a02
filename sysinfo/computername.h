// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace veltaro {

// The local computer's name through the narrow-character call.
class ComputerName {
public:
    virtual ~ComputerName() = default;

    // `size` is the capacity of `buffer` in characters on entry. When the
    // name and its NUL fit, they are copied to the start of the buffer,
    // `size` becomes the name's length without the NUL, and the result is
    // true. Otherwise the result is false, the buffer is left alone and
    // `size` becomes the length the buffer would need, NUL included.
    virtual bool query(char* buffer, std::uint32_t& size) = 0;
};

// Answers a query with `name` by the contract above.
bool copyComputerName(const std::string& name, char* buffer, std::uint32_t& size);

// The whole name, however long: when it does not fit, asks again with the
// size the call reported. Empty when the call fails for any other reason.
std::string fullComputerName(ComputerName& source);

}  // namespace veltaro
