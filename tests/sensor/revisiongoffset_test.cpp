// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fakeprocessoridentity.h"
#include "revisiongoffset.h"

namespace veltaro {
namespace {

struct OffsetCase {
    const char* name;
    std::uint32_t signature;  // register 0xFC
    std::optional<std::uint8_t> brandIndex;
    int offsetCelsius;
};

class RevisionGOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(RevisionGOffsetTest, FollowsTheKernelsRule)
{
    FakeProcessorIdentity brand(GetParam().brandIndex);
    EXPECT_EQ(revisionGOffsetCelsius(GetParam().signature, brand), GetParam().offsetCelsius);
}

// Signatures: family 0Fh (base family F, extended family 0), the model's
// high digit in bits 19..16 and its low digit in bits 7..4.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RevisionGOffsetTest,
    ::testing::Values(
        OffsetCase{"before_revision_F_reads_0", 0x00000000, 0x04, 0},
        OffsetCase{"revision_F_model_43", 0x00040F33, 0x04, 0},
        OffsetCase{"model_68_below_revision_G", 0x00060F82, 0x04, 0},
        OffsetCase{"model_69_first_of_revision_G", 0x00060F92, 0x04, 21},
        OffsetCase{"model_6B_desktop", 0x00060FB2, 0x04, 21},
        OffsetCase{"model_6B_asb1_index_B", 0x00060FB2, 0x0B, 0},
        OffsetCase{"model_6B_asb1_index_C", 0x00060FB2, 0x0C, 0},
        OffsetCase{"model_6B_single_core_asb1_index_7", 0x00060FB2, 0x07, 21},
        OffsetCase{"model_6B_no_brand_index", 0x00060FB2, std::nullopt, 21},
        OffsetCase{"model_6F_desktop", 0x00060FF2, 0x04, 21},
        OffsetCase{"model_6F_asb1_index_7", 0x00060FF2, 0x07, 0},
        OffsetCase{"model_6F_asb1_index_9", 0x00060FF2, 0x09, 0},
        OffsetCase{"model_6F_asb1_index_C", 0x00060FF2, 0x0C, 0},
        OffsetCase{"model_6F_dual_core_asb1_index_B", 0x00060FF2, 0x0B, 21},
        OffsetCase{"model_7F_desktop", 0x00070FF1, 0x01, 21},
        OffsetCase{"model_7F_asb1_index_9", 0x00070FF1, 0x09, 0},
        OffsetCase{"model_6C_mobile", 0x00060FC2, 0x04, 0},
        OffsetCase{"model_7C_mobile", 0x00070FC2, 0x04, 0},
        OffsetCase{"model_C1_mobile", 0x000C0F12, 0x04, 0},
        OffsetCase{"model_C2_desktop", 0x000C0F22, 0x04, 21},
        OffsetCase{"model_7B_desktop_index_C", 0x00070FB2, 0x0C, 21},
        // Only family 0Fh has the offset.
        OffsetCase{"family_10h_with_model_6B_digits", 0x00160FB2, 0x04, 0},
        OffsetCase{"all_ones_no_answer", 0xFFFFFFFF, 0x04, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
