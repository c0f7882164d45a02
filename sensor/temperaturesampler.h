// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "familycode.h"
#include "readingsource.h"
#include "replacementrandom.h"

namespace veltaro {

// The one place where a figure becomes degrees: a register value by its
// row's rules, the kernel's figure, a die sensor's reading, and the
// offsets detection found.

// The readout's caption for a whole number of degrees Celsius: a blank,
// the degrees and "'C".
std::wstring temperatureCaption(long long celsius);

// Whole degrees Celsius (rounded down) of one reading of a processor of
// this row, as the readout shows them before the replacement of low
// readings; empty when the figure is no measurement.
std::optional<long long> celsiusOf(const ProcessorFamily& row, const DetectedFamily& processor,
                                   const SourceReading& reading);

// Whole degrees of one die sensor's reading; empty when it holds no
// measurement: its valid bit clear, or past the bounds of a node's figure
// (below zero, a register of all ones, or beyond what the sensor holds).
std::optional<long long> dieCelsiusOf(const SourceReading& reading);

// One temperature sample per timer tick, turned into the readout's caption.
class TemperatureSampler {
public:
    explicit TemperatureSampler(ReadingSource& source);

    // What detection learnt: the FamilyCode, and beside it the maker and
    // model, which pick the row among a family's, and the offsets. The row
    // is looked up here, once. Until it is set, the processor counts as
    // an AMD part of model 0 without offsets.
    void setProcessor(const DetectedFamily& processor);

    // The caption for this tick: a blank, whole degrees Celsius and "'C".
    // Families 0Fh, 10h and 11h show readings below 40 as a pseudo-random
    // 40 or 41. Empty text when nothing was measured: the source had no
    // reading, the register reads all ones, or the figure is below zero
    // or past what the sensor holds. No value (and no read) for a text
    // that is no FamilyCode of a processor in the table: the caption then
    // stays as it is. The row is looked up again only when the text
    // differs from the one held. The text is the sampler's own, valid
    // until the next sample.
    std::optional<std::wstring_view> sample(const std::wstring& familyCode);

    // The row the last sample was taken for; none for a text that is no
    // FamilyCode of a processor in the table.
    const ProcessorFamily* row() const { return m_row; }
    const DetectedFamily& processor() const { return m_processor; }
    // Whole degrees the last sample measured, before any replacement of a
    // low reading; empty when it measured nothing.
    std::optional<long long> lastCelsius() const { return m_lastCelsius; }
    // The highest of them since start, kept in memory only.
    std::optional<long long> highestCelsius() const { return m_highestCelsius; }
    // Whole degrees the last caption written shows, after any replacement
    // of a low reading; empty when it was empty.
    std::optional<long long> shownCelsius() const { return m_shownCelsius; }

private:
    void holdRowOf(const std::wstring& familyCode);

    ReadingSource& m_source;
    DetectedFamily m_processor;
    std::wstring m_heldFamilyCode;
    const ProcessorFamily* m_row = nullptr;
    std::wstring m_caption;
    std::optional<long long> m_lastCelsius;
    std::optional<long long> m_shownCelsius;
    std::optional<long long> m_highestCelsius;
    ReplacementRandom m_random;
};

}  // namespace veltaro
