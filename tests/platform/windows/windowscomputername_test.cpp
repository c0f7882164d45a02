// SPDX-License-Identifier: MIT
// The computer name through GetComputerNameA, and its size rules.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "functions.h"
#include "inmemoryregistry.h"
#include "recordingmessageservice.h"
#include "windowscomputername.h"

namespace veltaro {
namespace {

// The name the system also publishes to every program as %COMPUTERNAME%.
std::string publishedName()
{
    const char* name = std::getenv("COMPUTERNAME");
    return name == nullptr ? std::string() : std::string(name);
}

TEST(WindowsComputerNameTest, GivesTheComputersName)
{
    const std::string expected = publishedName();
    ASSERT_FALSE(expected.empty()) << "COMPUTERNAME is not set";

    WindowsComputerName computerName;
    EXPECT_EQ(fullComputerName(computerName), expected);

    // The identification stage's 32-character buffer holds it whole.
    InMemoryRegistry registry("unused");
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);
    EXPECT_EQ(functions.GetHostName(), std::wstring(expected.begin(), expected.end()));
}

TEST(WindowsComputerNameTest, ABufferWithoutRoomForTheNulIsLeftAloneAndTheNeedReported)
{
    const std::string name = publishedName();
    ASSERT_FALSE(name.empty());
    WindowsComputerName computerName;

    std::string buffer(name.size(), 'X');
    auto size = static_cast<std::uint32_t>(buffer.size());
    EXPECT_FALSE(computerName.query(buffer.data(), size));
    EXPECT_EQ(size, name.size() + 1);
    EXPECT_EQ(buffer, std::string(name.size(), 'X'));

    buffer.assign(name.size() + 1, 'X');
    size = static_cast<std::uint32_t>(buffer.size());
    EXPECT_TRUE(computerName.query(buffer.data(), size));
    EXPECT_EQ(size, name.size());
    EXPECT_EQ(buffer, name + '\0');
}

}  // namespace
}  // namespace veltaro
