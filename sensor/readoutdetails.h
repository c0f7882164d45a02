// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <optional>
#include <string>

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
class ReadoutDetails {
public:
    explicit ReadoutDetails(ReadingSource& source);

    std::wstring text(const TemperatureSampler& sampler);

private:
    void appendDies(std::wstring& text, const ProcessorFamily& row, const DetectedFamily& processor, unsigned node);

    ReadingSource& m_source;
    std::bitset<std::size_t{kMaxNodes} * kMaxDieSensors> m_diesSeen;
};

}  // namespace veltaro
