// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "computername.h"

namespace veltaro {

// Answers with `name` by the contract of the computer-name call, and
// records the buffer size of each call. With `fails` set, every call
// fails and leaves the buffer and size as they were.
class FakeComputerName final : public ComputerName {
public:
    std::string name;
    bool fails = false;
    std::vector<std::uint32_t> sizesGiven;

    explicit FakeComputerName(std::string computerName = "TESTBOX")
        : name(std::move(computerName))
    {
    }

    bool query(char* buffer, std::uint32_t& size) override
    {
        sizesGiven.push_back(size);
        return !fails && copyComputerName(name, buffer, size);
    }
};

}  // namespace veltaro
