// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "portio.h"

namespace veltaro {

// Records every port call and answers from what the test set. Each call
// can be told to fail.
class FakePortIo final : public PortIo {
public:
    struct Call {
        enum class Kind { Initialize, Set, Get } kind;
        std::uint16_t port = 0;
        std::uint32_t value = 0;
        std::uint8_t sizeBytes = 0;
    };

    bool initializeResult = true;
    bool setResult = true;
    bool getResult = true;
    // What a read of the data port yields; untouched when getResult is false.
    std::uint32_t dataPortValue = 0;
    // Registers by configuration address: a read of the data port after
    // one of these addresses was written to the address port yields its
    // value instead of dataPortValue.
    std::map<std::uint32_t, std::uint32_t> registers;

    std::vector<Call> calls;
    // Runs at each call, before it answers: lets a test look at the world
    // at the moment the driver is used.
    std::function<void(const Call&)> onCall;

    bool InitializeWinIo() override
    {
        record({Call::Kind::Initialize});
        return initializeResult;
    }

    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override
    {
        record({Call::Kind::Set, port, value, sizeBytes});
        m_latchedAddress = value;
        return setResult;
    }

    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override
    {
        record({Call::Kind::Get, port, 0, sizeBytes});
        if (getResult) {
            const auto found = registers.find(m_latchedAddress);
            value = found == registers.end() ? dataPortValue : found->second;
        }
        return getResult;
    }

private:
    std::uint32_t m_latchedAddress = 0;

    void record(const Call& call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }
};

}  // namespace veltaro
