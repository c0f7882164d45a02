// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "processorsignature.h"

namespace veltaro {
namespace {

// Signatures as CPUID function 1 gives them on real processors.
TEST(ProcessorSignatureTest, PacksAndReadsBackTheFieldsOfRealProcessors)
{
    const struct {
        const char* name;
        unsigned family, model, stepping;
        std::uint32_t signature;
    } rows[] = {
        {"Athlon 64 X2 5600+, revision F3", 15, 0x43, 3, 0x00040F33},
        {"Athlon 64 X2, revision G2", 15, 0x6B, 2, 0x00060FB2},
        {"Phenom II X4, family 10h", 16, 0x04, 2, 0x00100F42},
        {"Turion X2 Ultra, family 11h", 17, 0x03, 1, 0x00200F31},
        {"Core 2 Duo E8400, family 6", 6, 0x17, 10, 0x0001067A},
        {"Ryzen 7 7700X, family 19h", 25, 0x61, 2, 0x00A60F12},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(packProcessorSignature(row.family, row.model, row.stepping), row.signature);
        EXPECT_EQ(processorFamily(row.signature), row.family);
        EXPECT_EQ(processorModel(row.signature), row.model);
    }
}

}  // namespace
}  // namespace veltaro
