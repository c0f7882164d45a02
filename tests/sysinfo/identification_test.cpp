// SPDX-License-Identifier: MIT
#include <functional>

#include <gtest/gtest.h>

#include "demoregistry.h"
#include "fakecomputername.h"
#include "functions.h"
#include "identification.h"
#include "inmemoryregistry.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"

namespace veltaro {
namespace {

using Kind = RecordingRegistry::Call::Kind;

constexpr char kSystemKey[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
const std::string kLongName = "build-runner-0042.rack-17.eu-west.datacentre.example";  // 52 characters

struct HostNameCase {
    const char* name;
    std::string computerName;
    std::vector<std::uint32_t> sizesGiven;
};

void PrintTo(const HostNameCase& row, std::ostream* out)
{
    *out << row.name;
}

class GetHostNameTest : public ::testing::TestWithParam<HostNameCase> {};

TEST_P(GetHostNameTest, TakesTheWholeName)
{
    FakeComputerName computerName(GetParam().computerName);
    InMemoryRegistry registry("unused");
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);

    const std::wstring expected(GetParam().computerName.begin(), GetParam().computerName.end());
    EXPECT_EQ(functions.GetHostName(), expected);
    EXPECT_EQ(functions.HostName(), expected);
    EXPECT_EQ(computerName.sizesGiven, GetParam().sizesGiven);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, GetHostNameTest,
    ::testing::Values(
        HostNameCase{"short", "PHENOM", {32}},
        HostNameCase{"31_characters", std::string(31, 'n'), {32}},
        // From 32 characters on the name and its NUL need a larger buffer.
        HostNameCase{"32_characters", std::string(32, 'n'), {32, 33}},
        HostNameCase{"52_characters", kLongName, {32, 53}},
        HostNameCase{"64_characters", std::string(64, 'n'), {32, 65}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct StageCase {
    const char* name;
    std::string computerName;
    std::string localName;  // the name the registry answers to
    std::function<void(InMemoryRegistry&)> fill;
    std::optional<std::wstring> caption;
    std::wstring message;  // empty: none
};

void PrintTo(const StageCase& row, std::ostream* out)
{
    *out << row.name;
}

const auto kIdentifier = [](InMemoryRegistry& r) { r.setString(kSystemKey, "Identifier", "AT/AT COMPATIBLE"); };
const auto kName = [](InMemoryRegistry& r) {
    r.setString(kProcessorKey, "ProcessorNameString", "AMD Phenom(tm) II X4 965 Processor");
};
const auto kBoth = [](InMemoryRegistry& r) {
    kIdentifier(r);
    kName(r);
};

class IdentificationStageTest : public ::testing::TestWithParam<StageCase> {};

TEST_P(IdentificationStageTest, GivesTheCaptionOrOneMessage)
{
    const StageCase& row = GetParam();
    InMemoryRegistry registry(row.localName);
    row.fill(registry);
    RecordingRegistry recording(registry);
    FakeComputerName computerName(row.computerName);
    RecordingMessageService messages;
    Functions functions(recording, computerName, messages);

    EXPECT_EQ(identifyProcessor(functions, messages), row.caption);

    if (row.message.empty()) {
        EXPECT_TRUE(messages.shown.empty());
    } else {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, row.message);
        EXPECT_EQ(messages.shown[0].title, L"Veltaro");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    }
    EXPECT_EQ(recording.count(Kind::Connect), 1u);
    EXPECT_TRUE(recording.openSubKeys.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Registries, IdentificationStageTest,
    ::testing::Values(
        StageCase{"all_well", "PHENOM", "phenom", kBoth, L" CPU: AMD Phenom(tm) II X4 965 Processor", L""},
        // Older processors pad their brand string with blanks.
        StageCase{"blanks_kept", "PHENOM", "phenom",
                  [](InMemoryRegistry& r) {
                      kIdentifier(r);
                      r.setString(kProcessorKey, "ProcessorNameString", "  AMD Athlon(tm) 64 Processor 3200+ ");
                  },
                  L" CPU:   AMD Athlon(tm) 64 Processor 3200+ ", L""},
        StageCase{"long_host_name", kLongName, kLongName, kBoth, L" CPU: AMD Phenom(tm) II X4 965 Processor", L""},
        StageCase{"name_missing", "PHENOM", "phenom", kIdentifier, L" CPU: ", L""},
        StageCase{"identifier_missing", "PHENOM", "phenom", kName, std::nullopt, kPermissionMessage},
        StageCase{"identifier_empty", "PHENOM", "phenom",
                  [](InMemoryRegistry& r) {
                      kName(r);
                      r.setString(kSystemKey, "Identifier", "");
                  },
                  std::nullopt, kPermissionMessage},
        StageCase{"identifier_binary", "PHENOM", "phenom",
                  [](InMemoryRegistry& r) {
                      kName(r);
                      r.setValue(kSystemKey, "Identifier", {kRegBinary, {0x41, 0x54, 0}});
                  },
                  std::nullopt, kPermissionMessage},
        StageCase{"empty_registry", "PHENOM", "phenom", [](InMemoryRegistry&) {}, std::nullopt, kPermissionMessage},
        StageCase{"connection_refused", "PHENOM", "elsewhere", kBoth, std::nullopt,
                  L"Could not connect to registry on PHENOM"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(IdentificationStageTest, RefusedConnectionReadsNothing)
{
    InMemoryRegistry registry("elsewhere");
    kBoth(registry);
    RecordingRegistry recording(registry);
    FakeComputerName computerName("PHENOM");
    RecordingMessageService messages;
    Functions functions(recording, computerName, messages);

    identifyProcessor(functions, messages);

    EXPECT_EQ(functions.RegistryRoot(), kNoRegistryKey);
    EXPECT_EQ(recording.calls.size(), 1u);
}

TEST(DemoRegistryTest, DescribesItsSimulatedFamily10hProcessor)
{
    FakeComputerName computerName(kLongName);
    DemoRegistry registry(computerName);
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);

    EXPECT_EQ(identifyProcessor(functions, messages), L" CPU: Simulated AMD Family 10h Processor");
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", L"Identifier"),
              L"AMD64 Family 16 Model 4 Stepping 2");
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace veltaro
