// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "configspace.h"
#include "processorfamilies.h"

namespace veltaro {

// A processor's configuration space answered from register maps: its
// northbridge function, further nodes' functions, and any function that
// holds an index/data pair. A register holds what was last written to it
// (0 until then); a pair's data register answers from its own map for the
// index its index register holds (0 for an index the map lacks). Other
// functions read as all ones and ignore writes, as absent hardware does.
class SimulatedProcessor : public ConfigSpace {
public:
    SimulatedProcessor();

    // A register of the northbridge function.
    void setRegister(std::uint8_t offset, std::uint32_t value);
    // A register of node n's northbridge function (device 24 + n); the
    // function is present from now on.
    void setNodeRegister(unsigned node, std::uint8_t offset, std::uint32_t value);
    // A register behind an index/data pair; its function is present from now on.
    void setIndexedRegister(const IndexedRegister& pair, std::uint32_t value);

    bool start() override { return true; }
    std::optional<std::uint32_t> read(const PciFunctionAddress& function, std::uint8_t offset) override;
    bool write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value) override;

protected:
    // Called before each read of a northbridge register, so that a
    // subclass can move the registers along with time.
    virtual void beforeRead(std::uint8_t /*offset*/) {}

private:
    struct Register {
        PciFunctionAddress function;
        std::uint8_t offset;
        friend bool operator==(const Register&, const Register&) = default;
    };
    struct IndexedMap {
        Register index;
        Register data;
        std::map<std::uint32_t, std::uint32_t> values;
    };

    bool present(const PciFunctionAddress& function) const;
    std::uint32_t& registerAt(const Register& where);

    std::vector<PciFunctionAddress> m_functions;
    std::vector<std::pair<Register, std::uint32_t>> m_registers;
    std::vector<IndexedMap> m_pairs;
};

}  // namespace veltaro
