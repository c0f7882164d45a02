// SPDX-License-Identifier: MIT
#pragma once

#include "processorbrand.h"

namespace veltaro {

// Answers the brand index the test set and counts the questions.
class FakeProcessorBrand final : public ProcessorBrand {
public:
    explicit FakeProcessorBrand(std::optional<std::uint8_t> index = std::nullopt)
        : index(index)
    {
    }

    std::optional<std::uint8_t> index;
    int queries = 0;

    std::optional<std::uint8_t> brandIndex() override
    {
        ++queries;
        return index;
    }
};

}  // namespace veltaro
