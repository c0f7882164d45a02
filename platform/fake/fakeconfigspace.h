// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "configspace.h"

namespace veltaro {

// Records every access and answers from what the test set. Each kind of
// access can be told to fail.
class FakeConfigSpace final : public ConfigSpace {
public:
    struct Call {
        enum class Kind { Start, Read, Write } kind;
        // The access as a configuration address: enable bit, bus,
        // device, function and offset.
        std::uint32_t address = 0;
        std::uint32_t value = 0;
    };

    bool startResult = true;
    bool readResult = true;
    bool writeResult = true;
    // What a read yields where `registers` holds nothing for its address.
    std::uint32_t value = 0;
    // Registers by configuration address.
    std::map<std::uint32_t, std::uint32_t> registers;

    std::vector<Call> calls;
    // Runs at each call, before it answers: lets a test look at the world
    // at the moment configuration space is reached.
    std::function<void(const Call&)> onCall;

    static constexpr std::uint32_t addressOf(const PciFunctionAddress& function, std::uint8_t offset)
    {
        return 0x8000'0000u | std::uint32_t{function.bus} << 16 | std::uint32_t{function.device} << 11 |
               std::uint32_t{function.function} << 8 | offset;
    }

    bool start() override
    {
        record({Call::Kind::Start});
        return startResult;
    }

    std::optional<std::uint32_t> read(const PciFunctionAddress& function, std::uint8_t offset) override
    {
        const std::uint32_t address = addressOf(function, offset);
        record({Call::Kind::Read, address});
        if (!readResult)
            return std::nullopt;
        const auto found = registers.find(address);
        return found == registers.end() ? value : found->second;
    }

    bool write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t written) override
    {
        record({Call::Kind::Write, addressOf(function, offset), written});
        return writeResult;
    }

private:
    void record(const Call& call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }
};

}  // namespace veltaro
