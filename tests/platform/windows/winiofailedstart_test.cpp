// SPDX-License-Identifier: MIT
// The port driver adapter when "WinIo.dll" is not the driver: this program
// runs once from a folder without any such file, and once from a folder
// whose "WinIo.dll" lacks GetPortVal (each run picks its suite). Either way
// the start fails, nothing ends the program, and the port calls do nothing.

#include <gtest/gtest.h>

#include <windows.h>

#include "pciconfigread.h"
#include "winioconfigspace.h"
#include "winioportio.h"

namespace veltaro {
namespace {

void expectAFailedStartAndNoPortAccess()
{
    WinIoPortIo portIo;
    EXPECT_FALSE(portIo.InitializeWinIo());
    EXPECT_FALSE(portIo.InitializeWinIo()) << "a second start finds no more than the first";
    EXPECT_EQ(::GetModuleHandleA("WinIo.dll"), nullptr) << "the library was kept";

    EXPECT_FALSE(portIo.SetPortVal(0x0CF8, 0x8000C3FC, 4));
    std::uint32_t value = 0x5A5A5A5A;
    EXPECT_FALSE(portIo.GetPortVal(0x0CFC, value, 4));
    EXPECT_EQ(value, 0x5A5A5A5Au) << "the out value was written";
    WinIoConfigSpace configSpace;
    EXPECT_FALSE(configSpace.start());
    EXPECT_EQ(PciConfigRead(configSpace, kSignatureRegister), 0u);
}

TEST(NoDriverLibrary, StartFailsAndPortCallsDoNothing)
{
    ASSERT_EQ(::LoadLibraryA("WinIo.dll"), nullptr) << "this run needs a folder without WinIo.dll";
    expectAFailedStartAndNoPortAccess();
}

TEST(IncompleteDriverLibrary, StartFailsAndPortCallsDoNothing)
{
    HMODULE library = ::LoadLibraryA("WinIo.dll");
    ASSERT_NE(library, nullptr) << "this run needs the incomplete WinIo.dll beside it";
    const bool hasStart = ::GetProcAddress(library, "InitializeWinIo") != nullptr;
    const bool hasRead = ::GetProcAddress(library, "GetPortVal") != nullptr;
    ::FreeLibrary(library);
    ASSERT_TRUE(hasStart);
    ASSERT_FALSE(hasRead);

    expectAFailedStartAndNoPortAccess();
}

}  // namespace
}  // namespace veltaro
