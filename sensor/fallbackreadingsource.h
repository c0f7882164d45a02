// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "readingsource.h"

namespace veltaro {

// Several ways to the reading, tried in order at start: the first source
// that starts is kept and answers from then on. Each way is made only
// when the ways before it have failed, so that a way with a cost (a
// password prompt) is not even prepared when an earlier one works; and
// once one has started the others are let go, with whatever they had
// prepared (a descriptor opened early).
class FallbackReadingSource final : public ReadingSource {
public:
    using Way = std::function<std::unique_ptr<ReadingSource>()>;

    explicit FallbackReadingSource(std::vector<Way> ways);

    // True when one of the ways started; the first start that succeeds
    // lets the ways go, and later calls keep the source it found.
    bool start() override;
    // Empty until a way has started.
    // The started way's answer; false until one has started.
    bool readsUnlistedProcessor() const override;
    std::optional<std::uint32_t> signatureRegister() override;
    std::optional<SourceReading> read(const ProcessorFamily& row) override;
    unsigned nodeCount(const ProcessorFamily& row) override;
    void recountNodes() override;
    std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node) override;
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override;

private:
    std::vector<Way> m_ways;
    std::unique_ptr<ReadingSource> m_started;
};

}  // namespace veltaro
