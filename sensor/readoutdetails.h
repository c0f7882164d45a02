// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string>

#include "callbudget.h"
#include "familycode.h"
#include "readingsource.h"

namespace veltaro {

class TemperatureSampler;

// The text of the readout's tooltip: every node's figure, each node's
// die sensors under it, and the highest reading since start, one a line:
//   Node 0: 52'C
//     CCD 1: 48'C
//   Node 1: 49'C
//   Highest since start: 61'C
// A node or die that gives no measurement this time shows "-". Node 0's
// figure is the one the readout's last tick measured; the other nodes and
// the dies are read here, so only while the tooltip shows. A die is listed
// once it has given a measurement: a model's layout may name dies that
// its part does not have.
//
// Under a tick's call budget, the reads stop once one call was slow; the
// figures not read this time keep their last reading, and the next text
// reads on from where this one stopped, so that every figure comes round.
class ReadoutDetails {
public:
    explicit ReadoutDetails(ReadingSource& source);

    // Without a budget, every figure is read.
    std::wstring text(const TemperatureSampler& sampler, CallBudget* budget = nullptr);

private:
    // Each node's own figure, then its dies, node after node.
    static constexpr unsigned kFiguresPerNode = 1 + kMaxDieSensors;

    void readFigures(const ProcessorFamily& row, const DetectedFamily& processor, CallBudget* budget);

    ReadingSource& m_source;
    unsigned m_nodes = 1;
    unsigned m_resumeAt = 0;
    // Whole degrees by figure, as readFigures numbers them; node 0's own
    // comes from the readout's tick.
    std::array<std::optional<long long>, std::size_t{kMaxNodes} * kFiguresPerNode> m_celsius;
    std::bitset<std::size_t{kMaxNodes} * kMaxDieSensors> m_diesSeen;
};

}  // namespace veltaro
