// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "processorfamilies.h"

namespace veltaro {

// One figure as its source has it. The sensor alone turns it into degrees:
// a source never converts one kind into the other.
struct SourceReading {
    enum class Kind {
        // The 32 bits of the family's thermal register (its row's
        // ThermalRegister), as the hardware holds them.
        RegisterValue,
        // The kernel's own sensor driver's figure (k8temp, k10temp), in
        // millidegrees Celsius, as its hwmon file publishes it.
        KernelMillidegrees,
    };

    Kind kind = Kind::RegisterValue;
    std::int64_t value = 0;

    static SourceReading registerValue(std::uint32_t value) { return {Kind::RegisterValue, value}; }
    static SourceReading kernelMillidegrees(std::int64_t millidegrees)
    {
        return {Kind::KernelMillidegrees, millidegrees};
    }
};

// One of a Zen's die sensors, as the kernel names it (Tccd<number>) and,
// where the table knows the model's layout, its place in the system
// management network.
struct DieSensor {
    unsigned number = 1;  // 1 to kMaxDieSensors
    std::optional<std::uint32_t> smnAddress;
};
inline constexpr unsigned kMaxDieSensors = 16;

// Nodes: a processor package has a northbridge function for each node,
// bus 0 devices 24 to 31, function 3.
inline constexpr unsigned kMaxNodes = 8;

// Where the processor's temperature comes from: the configuration
// mechanism (the port driver, the PCI configuration file), or the kernel's
// figure. Each implementation hands over what it has; nothing more.
class ReadingSource {
public:
    virtual ~ReadingSource() = default;

    // Opens the way to the reading, once at start-up. False: there is
    // none, and the program must say so and end.
    virtual bool start() = 0;

    // True where the source hands over a figure for a processor the
    // family table does not hold: the kernel's own driver reads it.
    virtual bool readsUnlistedProcessor() const { return false; }

    // The signature register F3xFC where this source reaches it; empty
    // where it cannot (the kernel's figure has none), where the read
    // failed, or where the configuration space was busy.
    virtual std::optional<std::uint32_t> signatureRegister() = 0;

    // The processor's temperature at the place its row names. Empty when
    // nothing was measured this time: a read that failed or did not
    // answer, a configuration space held by someone else, a file that did
    // not read.
    virtual std::optional<SourceReading> read(const ProcessorFamily& row) = 0;

    // The nodes whose readings this source can give, node 0 included,
    // once started: 1 to kMaxNodes.
    virtual unsigned nodeCount(const ProcessorFamily& /*row*/) { return 1; }

    // Asks for the nodes to be counted anew at the next nodeCount(), as
    // when the readout's tooltip opens: a node's figure may have come
    // since. A source that counts at a cost may keep its count a while.
    virtual void recountNodes() {}

    // Node n's temperature, as read() gives node 0's.
    virtual std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node)
    {
        return node == 0 ? read(row) : std::nullopt;
    }

    // A die sensor of node n: its register value (bits 11..0 as the
    // hardware holds them) or the kernel's figure. Empty where the source
    // has no such sensor or nothing was measured.
    virtual std::optional<SourceReading> readDie(unsigned /*node*/, const DieSensor& /*die*/) { return std::nullopt; }
};

}  // namespace veltaro
