// SPDX-License-Identifier: MIT
#pragma once

#include "processoridentity.h"

namespace veltaro {

// Answers what the test set and counts the questions.
class FakeProcessorIdentity final : public ProcessorIdentity {
public:
    explicit FakeProcessorIdentity(std::optional<std::uint8_t> index = std::nullopt,
                                   std::optional<IdentifiedProcessor> processor = std::nullopt)
        : index(index)
        , processor(std::move(processor))
    {
    }

    std::optional<std::uint8_t> index;
    std::optional<IdentifiedProcessor> processor;
    int brandQueries = 0;
    int identifyQueries = 0;

    std::optional<std::uint8_t> brandIndex() override
    {
        ++brandQueries;
        return index;
    }

    std::optional<IdentifiedProcessor> identify() override
    {
        ++identifyQueries;
        return processor;
    }
};

}  // namespace veltaro
