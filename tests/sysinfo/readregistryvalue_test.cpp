// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fakecomputername.h"
#include "functions.h"
#include "inmemoryregistry.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"

namespace veltaro {
namespace {

using namespace std::string_literals;
using Kind = RecordingRegistry::Call::Kind;

constexpr char kKey[] = "HARDWARE\\Description\\System";

InMemoryRegistry::Value bytesOf(std::uint32_t type, const std::string& bytes)
{
    return {type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

InMemoryRegistry::Value dword(std::uint32_t value)
{
    return bytesOf(kRegDword, {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                               static_cast<char>(value >> 24)});
}

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(functions.ConnectRegistry(L"TESTBOX"), 0); }

    std::wstring read(const InMemoryRegistry::Value& value)
    {
        registry.setValue(kKey, "Probe", value);
        return functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Probe");
    }

    InMemoryRegistry registry{"TESTBOX"};
    RecordingRegistry recording{registry};
    FakeComputerName computerName;
    RecordingMessageService messages;
    Functions functions{recording, computerName, messages};
};

struct ValueCase {
    const char* name;
    InMemoryRegistry::Value value;
    std::wstring text;
};

void PrintTo(const ValueCase& row, std::ostream* out)
{
    *out << row.name;
}

class ReadValueTest : public ReaderTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ReadValueTest, RendersByTypeAndClosesTheKey)
{
    EXPECT_EQ(read(GetParam().value), GetParam().text);
    EXPECT_EQ(recording.count(Kind::Open), 1u);
    EXPECT_TRUE(recording.openSubKeys.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, ReadValueTest,
    ::testing::Values(
        ValueCase{"sz_as_stored", bytesOf(kRegSz, "AMD Phenom(tm) II X4 965 Processor\0"s),
                  L"AMD Phenom(tm) II X4 965 Processor"},
        ValueCase{"sz_empty", bytesOf(kRegSz, "\0"s), L""},
        ValueCase{"multi_sz_first_string", bytesOf(kRegMultiSz, "first\0second\0\0"s), L"first"},
        ValueCase{"sz_1023_fits_with_nul", bytesOf(kRegSz, std::string(1023, 'a') + '\0'), std::wstring(1023, L'a')},
        ValueCase{"sz_1024_and_nul_too_large", bytesOf(kRegSz, std::string(1024, 'a') + '\0'), L""},
        // Stored without a terminator: the text ends with the buffer.
        ValueCase{"sz_1024_without_nul", bytesOf(kRegSz, std::string(1024, 'b')), std::wstring(1024, L'b')},
        ValueCase{"multi_sz_1024_without_nul", bytesOf(kRegMultiSz, std::string(1024, 'c')), std::wstring(1024, L'c')},
        ValueCase{"dword_2000", dword(2000), L"7D0"},
        ValueCase{"dword_15", dword(15), L"F"},
        ValueCase{"dword_65536", dword(65536), L"10000"},
        ValueCase{"dword_AB0000", dword(0xAB0000), L"AB0000"},
        ValueCase{"dword_bit31", dword(0x80000000), L"80000000"},
        ValueCase{"dword_all_ones", dword(0xFFFFFFFF), L"FFFFFFFF"},
        ValueCase{"dword_zero", dword(0), L""},
        ValueCase{"expand_sz", bytesOf(kRegExpandSz, "%SystemRoot%\\system32\0"s), L""},
        ValueCase{"binary", bytesOf(kRegBinary, "\x01\x02\x03\x04"s), L""},
        ValueCase{"qword", bytesOf(11, "\xD0\x07\0\0\0\0\0\0"s), L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(ReaderTest, AsksForTheKeyToReadWithAZeroedBufferOf1024Bytes)
{
    // A value that fills the buffer first: the next read must not see it.
    read(bytesOf(kRegBinary, std::string(1024, '\xEE')));
    EXPECT_EQ(read(dword(2000)), L"7D0");

    ASSERT_EQ(recording.calls.size(), 7u);
    for (const auto& call : recording.calls) {
        if (call.kind == Kind::Open) {
            EXPECT_EQ(call.key, functions.RegistryRoot());
            EXPECT_EQ(call.text, kKey);
            EXPECT_EQ(call.options, 0u);
            EXPECT_EQ(call.access, 0x20019u);
        }
        if (call.kind == Kind::Query) {
            EXPECT_EQ(call.text, "Probe");
            EXPECT_EQ(call.dataSizeGiven, 1024u);
            EXPECT_TRUE(call.bufferZeroed);
        }
    }
}

TEST_F(ReaderTest, MissingKeyGivesEmptyTextAndClosesNothing)
{
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\Nowhere", L"Identifier"), L"");
    EXPECT_EQ(recording.count(Kind::Query), 0u);
    EXPECT_EQ(recording.count(Kind::Close), 0u);
}

TEST_F(ReaderTest, FailedQueriesGiveEmptyTextAndStillCloseTheKey)
{
    registry.setString(kKey, "Identifier", "AT/AT COMPATIBLE");
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Missing"), L"");
    recording.queryFailure = kRegistryAccessDenied;
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Identifier"), L"");

    EXPECT_EQ(recording.count(Kind::Open), 2u);
    EXPECT_EQ(recording.count(Kind::Close), 2u);
    EXPECT_TRUE(recording.openSubKeys.empty());
}

TEST(ReaderWithoutConnectionTest, GivesEmptyTextForEveryKey)
{
    InMemoryRegistry registry("TESTBOX");
    registry.setString(kKey, "Identifier", "AT/AT COMPATIBLE");
    FakeComputerName computerName;
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);

    EXPECT_EQ(functions.RegistryRoot(), kNoRegistryKey);
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Identifier"), L"");
    EXPECT_EQ(functions.ReadRegistryValue(L"", L""), L"");
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace veltaro
