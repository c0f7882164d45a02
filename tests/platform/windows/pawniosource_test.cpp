// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "fakeconfigspacelock.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "pawniosource.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using Call = std::pair<std::string, std::vector<std::uint64_t>>;

// Runs functions from a register map; logs each call, and whether the
// lock was held during every one.
struct FakeExecutor final : PawnIoExecutor {
    explicit FakeExecutor(const FakeConfigSpaceLock& lock)
        : lock(lock)
    {
    }
    bool load(std::span<const std::uint8_t> /*module*/) override { return !refuse; }
    bool execute(const char* function, std::span<const std::uint64_t> in, std::span<std::uint64_t> out) override
    {
        calls.emplace_back(function, std::vector<std::uint64_t>(in.begin(), in.end()));
        lockAlwaysHeld = lockAlwaysHeld && lock.held;
        const auto found = registers.find(calls.back());
        if (found != registers.end())
            out[0] = found->second;
        return found != registers.end();
    }
    const FakeConfigSpaceLock& lock;
    bool refuse = false;
    bool lockAlwaysHeld = true;
    std::map<Call, std::uint32_t> registers;
    std::vector<Call> calls;
};

struct Rig {
    Rig(const char* vendor, std::uint32_t signature, bool moduleThere = true)
        : identity(std::nullopt, IdentifiedProcessor{vendor, signature, "AMD Ryzen 7 1700 Eight-Core Processor"})
    {
        auto ownedLock = std::make_unique<FakeConfigSpaceLock>();
        auto ownedExecutor = std::make_unique<FakeExecutor>(*ownedLock);
        lock = ownedLock.get();
        executor = ownedExecutor.get();
        source = std::make_unique<PawnIoSource>(
            std::move(ownedExecutor), std::move(ownedLock), std::make_unique<FakeProcessorIdentity>(identity),
            [=, this](const std::wstring& name) {
                asked = name;
                return moduleThere ? std::optional(std::vector<std::uint8_t>{1}) : std::nullopt;
            });
    }
    FakeProcessorIdentity identity;
    FakeConfigSpaceLock* lock;
    FakeExecutor* executor;
    std::wstring asked;
    std::unique_ptr<PawnIoSource> source;
};

struct FamilyCase {
    std::uint32_t signature;
    const wchar_t* module;
    Call call;
    std::uint32_t value;
    const wchar_t* caption;
};
// clang-format off
const FamilyCase kFamilies[] = {
    // Athlon 64 X2 revision E: F3xE4 bits 23..16 at 94, less 49.
    {0x00020F32, L"AMDFamily0F.bin", {"ioctl_get_thermtrip", {0, 0}}, 0x005E'0000, L" 45'C"},
    // Phenom II X4 940: F3xA4 bits 31..24.
    {0x00100F42, L"AMDFamily10.bin", {"ioctl_read_miscctl", {0, 0xA4}}, 0x3700'0000, L" 55'C"},
    // A10-8700P: 489 eighths behind the root complex.
    {0x00660F01, L"AMDFamily10.bin", {"ioctl_read_smu", {0xD820'0CA4}}, 0x3D20'0000, L" 61'C"},
    // Ryzen 7 1700: 367 eighths on the system management network.
    {0x00800F11, L"AMDFamily17.bin", {"ioctl_read_smn", {0x0005'9800}}, 0x2DE0'0000, L" 45'C"},
};
// clang-format on

TEST(PawnIoSource, EachFamilyReadsItsRegisterThroughItsModuleUnderTheLock)
{
    for (const FamilyCase& row : kFamilies) {
        SCOPED_TRACE(row.call.first);
        Rig rig("AuthenticAMD", row.signature);
        rig.executor->registers[row.call] = row.value;
        ASSERT_TRUE(rig.source->start());
        EXPECT_EQ(rig.asked, row.module);
        const DetectedFamily detected = detectFamily(*rig.source, rig.identity);
        TemperatureSampler sampler(*rig.source);
        sampler.setProcessor(detected);
        EXPECT_EQ(sampler.sample(detected.familyCode), row.caption);
        EXPECT_EQ(rig.executor->calls, (std::vector<Call>{row.call, row.call})) << "the start's read, the tick's";
        EXPECT_TRUE(rig.executor->lockAlwaysHeld);
        // Another program holds the configuration space: no call, no reading.
        rig.lock->available = false;
        EXPECT_EQ(sampler.sample(detected.familyCode), L"");
        EXPECT_EQ(rig.executor->calls.size(), 2u);
    }
}

TEST(PawnIoSource, StartsOnlyWithAModuleTheDriverTakes)
{
    Rig missing("AuthenticAMD", 0x00A20F10, false);
    Rig refused("AuthenticAMD", 0x00600F20);
    refused.executor->refuse = true;
    // The modules refuse any other maker: none is even read.
    Rig hygon("HygonGenuine", 0x00900F01);
    // The driver takes the module, which then answers no read.
    Rig mute("AuthenticAMD", 0x00800F11);
    for (Rig* rig : {&missing, &refused, &hygon, &mute})
        EXPECT_FALSE(rig->source->start());
    EXPECT_EQ(missing.asked + refused.asked + hygon.asked, L"AMDFamily17.binAMDFamily10.bin");
    EXPECT_FALSE(mute.executor->calls.empty());
}

TEST(PawnIoSource, CountsNodesWhenFirstAskedAndReadsDiesThroughTheNetwork)
{
    Rig phenom("AuthenticAMD", 0x00100F42);
    phenom.executor->registers = {{{"ioctl_read_miscctl", {0, 0xA4}}, 0x3700'0000},
                                  {{"ioctl_read_miscctl", {1, 0x00}}, 0x1203'1022},
                                  {{"ioctl_read_miscctl", {1, 0xA4}}, 0x3400'0000}};
    ASSERT_TRUE(phenom.source->start());
    const ProcessorFamily& row = *findProcessorFamily(ProcessorVendor::Amd, 0x10, 4);
    EXPECT_EQ(phenom.source->nodeCount(row) + phenom.source->nodeCount(row), 4u);
    EXPECT_EQ(phenom.executor->calls.size(), 3u) << "node 0 at start, nodes 1 and 2 once";
    EXPECT_EQ(phenom.source->readNode(row, 1)->value, 0x3400'0000);

    Rig zen("AuthenticAMD", 0x00A20F10);
    zen.executor->registers[{"ioctl_read_smn", {0x0005'9800}}] = 0x3100'0000;
    zen.executor->registers[{"ioctl_read_smn", {0x0005'9954}}] = 0x0000'0BE8;
    ASSERT_TRUE(zen.source->start());
    EXPECT_EQ(zen.source->readDie(0, {1, 0x0005'9954})->value, 0x0BE8);
    EXPECT_EQ(zen.source->readDie(1, {1, 0x0005'9954}), std::nullopt);
}

}  // namespace
}  // namespace veltaro
