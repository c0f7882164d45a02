// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fakeconfigspacelock.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "pawniosource.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using Arguments = std::vector<std::uint64_t>;

// Runs the module's functions from a register map; records each call and
// whether the lock was held during it.
class FakePawnIoExecutor final : public PawnIoExecutor {
public:
    explicit FakePawnIoExecutor(const FakeConfigSpaceLock& lock)
        : m_lock(lock)
    {
    }

    struct Call {
        std::string function;
        Arguments in;
        bool lockHeld;
    };
    bool refuse = false;
    std::map<std::pair<std::string, Arguments>, std::uint64_t> registers;
    std::vector<Call> calls;

    bool load(std::span<const std::uint8_t> /*module*/) override { return !refuse; }
    bool execute(const char* function, std::span<const std::uint64_t> in, std::span<std::uint64_t> out) override
    {
        const Arguments arguments(in.begin(), in.end());
        calls.push_back({function, arguments, m_lock.held});
        const auto found = registers.find({function, arguments});
        if (found == registers.end() || out.size() != 1)
            return false;
        out[0] = found->second;
        return true;
    }

private:
    const FakeConfigSpaceLock& m_lock;
};

IdentifiedProcessor amd(std::uint32_t signature)
{
    return {"AuthenticAMD", signature, "AMD Ryzen 7 1700 Eight-Core Processor"};
}

struct Rig {
    explicit Rig(IdentifiedProcessor processor, bool moduleThere = true)
        : identity(std::nullopt, processor)
    {
        auto ownedLock = std::make_unique<FakeConfigSpaceLock>();
        lock = ownedLock.get();
        auto ownedExecutor = std::make_unique<FakePawnIoExecutor>(*lock);
        executor = ownedExecutor.get();
        source = std::make_unique<PawnIoSource>(
            std::move(ownedExecutor), std::move(ownedLock),
            std::make_unique<FakeProcessorIdentity>(std::nullopt, processor),
            [this, moduleThere](const std::wstring& name) -> std::optional<std::vector<std::uint8_t>> {
                askedModule = name;
                return moduleThere ? std::optional(std::vector<std::uint8_t>{1, 2, 3}) : std::nullopt;
            });
    }

    FakeProcessorIdentity identity;
    FakeConfigSpaceLock* lock = nullptr;
    FakePawnIoExecutor* executor = nullptr;
    std::unique_ptr<PawnIoSource> source;
    std::wstring askedModule;
};

struct FamilyCase {
    const char* name;
    std::uint32_t signature;
    const wchar_t* module;
    const char* function;
    Arguments in;
    std::uint32_t value;
    const wchar_t* caption;
};

// clang-format off
const FamilyCase kFamilies[] = {
    // Athlon 64 X2 revision E: F3xE4 bits 23..16 at 94, less 49.
    {"family-0Fh", 0x00020F32, L"AMDFamily0F.bin", "ioctl_get_thermtrip", {0, 0}, 0x005E'0000, L" 45'C"},
    // Phenom II X4 940: F3xA4 bits 31..24.
    {"family-10h", 0x00100F42, L"AMDFamily10.bin", "ioctl_read_miscctl", {0, 0xA4}, 0x3700'0000, L" 55'C"},
    // A10-8700P: 489 eighths behind the root complex.
    {"family-15h-model-60h", 0x00660F01, L"AMDFamily10.bin", "ioctl_read_smu", {0xD820'0CA4}, 0x3D20'0000, L" 61'C"},
    // Ryzen 7 1700: 367 eighths on the system management network.
    {"family-17h", 0x00800F11, L"AMDFamily17.bin", "ioctl_read_smn", {0x0005'9800}, 0x2DE0'0000, L" 45'C"},
};
// clang-format on

TEST(PawnIoSource, EachFamilyReadsItsRegisterThroughItsModuleUnderTheLock)
{
    for (const FamilyCase& row : kFamilies) {
        SCOPED_TRACE(row.name);
        Rig rig(amd(row.signature));
        rig.executor->registers[{row.function, row.in}] = row.value;
        ASSERT_TRUE(rig.source->start());
        EXPECT_EQ(rig.askedModule, row.module);
        EXPECT_EQ(rig.source->signatureRegister(), std::nullopt);

        const DetectedFamily detected = detectFamily(*rig.source, rig.identity);
        TemperatureSampler sampler(*rig.source);
        sampler.setProcessor(detected);
        EXPECT_EQ(sampler.sample(detected.familyCode), std::optional<std::wstring>(row.caption));
        ASSERT_EQ(rig.executor->calls.size(), 1u);
        EXPECT_EQ(rig.executor->calls[0].function, row.function);
        EXPECT_EQ(rig.executor->calls[0].in, row.in);
        EXPECT_TRUE(rig.executor->calls[0].lockHeld);

        // Another program at the configuration space: no call, no reading.
        rig.lock->available = false;
        EXPECT_EQ(sampler.sample(detected.familyCode), std::optional<std::wstring>(L""));
        EXPECT_EQ(rig.executor->calls.size(), 1u);
    }
}

TEST(PawnIoSource, DoesNotStartWithoutAModuleTheDriverTakes)
{
    struct Case {
        const char* name;
        IdentifiedProcessor processor;
        bool moduleThere;
        bool refused;
        const wchar_t* askedModule;
    };
    const Case cases[] = {
        {"no-module-file", amd(0x00A20F10), false, false, L"AMDFamily17.bin"},
        {"module-refused", amd(0x00600F20), true, true, L"AMDFamily10.bin"},
        {"hygon", {"HygonGenuine", 0x00900F01, ""}, true, false, L""},
        {"intel", {"GenuineIntel", 0x000906EA, ""}, true, false, L""},
        {"family-0Eh", amd(0x00000E80), true, false, L""},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        Rig rig(row.processor, row.moduleThere);
        rig.executor->refuse = row.refused;
        EXPECT_FALSE(rig.source->start());
        EXPECT_EQ(rig.askedModule, row.askedModule);
    }
}

TEST(PawnIoSource, NodesAreCountedOnFirstAskAndDiesReadThroughTheNetwork)
{
    Rig family10h(amd(0x00100F42));
    auto& registers = family10h.executor->registers;
    registers[{"ioctl_read_miscctl", {1, 0x00}}] = 0x1203'1022;
    registers[{"ioctl_read_miscctl", {1, 0xA4}}] = 0x3400'0000;
    ASSERT_TRUE(family10h.source->start());
    EXPECT_TRUE(family10h.executor->calls.empty());
    const ProcessorFamily& row10h = *findProcessorFamily(ProcessorVendor::Amd, 0x10, 4);
    EXPECT_EQ(family10h.source->nodeCount(row10h), 2u);
    EXPECT_EQ(family10h.source->nodeCount(row10h), 2u);
    EXPECT_EQ(family10h.executor->calls.size(), 2u) << "nodes 1 and 2 asked once";
    EXPECT_EQ(family10h.source->readNode(row10h, 1)->value, 0x3400'0000);

    Rig family0Fh(amd(0x00020F32));
    for (std::uint64_t node = 1; node < 4; ++node)
        family0Fh.executor->registers[{"ioctl_get_thermtrip", {node, 0}}] = 0x005A'0000;
    ASSERT_TRUE(family0Fh.source->start());
    EXPECT_EQ(family0Fh.source->nodeCount(*findProcessorFamily(ProcessorVendor::Amd, 0x0F, 0x23)), 2u);

    Rig zen(amd(0x00A20F10));
    zen.executor->registers[{"ioctl_read_smn", {0x0005'9954}}] = 0x0000'0BE8;
    ASSERT_TRUE(zen.source->start());
    EXPECT_EQ(zen.source->nodeCount(*findProcessorFamily(ProcessorVendor::Amd, 0x19, 0x21)), 1u);
    EXPECT_EQ(zen.source->readDie(0, {1, 0x0005'9954})->value, 0x0BE8);
    EXPECT_EQ(zen.source->readDie(1, {1, 0x0005'9954}), std::nullopt);
    EXPECT_EQ(zen.source->readDie(0, {2, std::nullopt}), std::nullopt);
    EXPECT_EQ(family10h.source->readDie(0, {1, 0x0005'9954}), std::nullopt);
}

}  // namespace
}  // namespace veltaro
