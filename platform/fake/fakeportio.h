#pragma once

#include <cstdint>
#include <functional>
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
        return setResult;
    }

    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override
    {
        record({Call::Kind::Get, port, 0, sizeBytes});
        if (getResult)
            value = dataPortValue;
        return getResult;
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
