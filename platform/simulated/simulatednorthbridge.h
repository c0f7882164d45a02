// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "pciconfigaddress.h"
#include "portio.h"
#include "processorfamilies.h"

namespace veltaro {

// A port driver whose devices answer from register maps, through the same
// 0xCF8/0xCFC mechanism as the hardware: the processor's northbridge
// function, and any function that holds an index/data pair. A register
// holds what was last written to it (0 until then); a pair's data register
// answers from its own map for the index its index register holds (0 for
// an index the map lacks). Other functions read as all ones and ignore
// writes, as absent hardware does.
class SimulatedNorthbridge : public PortIo {
public:
    SimulatedNorthbridge();

    // A register of the northbridge function.
    void setRegister(std::uint8_t offset, std::uint32_t value);
    // A register of node n's northbridge function (device 24 + n); the
    // function is present from now on.
    void setNodeRegister(unsigned node, std::uint8_t offset, std::uint32_t value);
    // A register behind an index/data pair; its function is present from now on.
    void setIndexedRegister(const IndexedRegister& pair, std::uint32_t value);

    bool InitializeWinIo() override;
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

protected:
    // Called before each read of a northbridge register, so that a
    // subclass can move the registers along with time.
    virtual void beforeRead(std::uint8_t /*offset*/) {}

private:
    struct IndexedMap {
        std::uint32_t indexAddress;
        std::uint32_t dataAddress;
        std::map<std::uint32_t, std::uint32_t> values;
    };

    bool present(const PciFunctionAddress& function) const;

    std::vector<PciFunctionAddress> m_functions;
    // By configuration address, enable bit set and the offset a multiple of 4.
    std::map<std::uint32_t, std::uint32_t> m_registers;
    std::vector<IndexedMap> m_pairs;
    std::uint32_t m_latchedAddress = 0;
};

}  // namespace veltaro
