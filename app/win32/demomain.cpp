// SPDX-License-Identifier: MIT
#include <windows.h>

#include <chrono>

#include "demonorthbridge.h"
#include "demoprocessoridentity.h"
#include "demoreadings.h"
#include "demoregistry.h"
#include "librarysearch.h"
#include "startup.h"
#include "systemservices.h"
#include "windowsmessageservice.h"

// The same program on a simulated family 10h processor and its hardware
// description, under a title that says so.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    veltaro::restrictLibrarySearch();
    const auto shell = veltaro::createSystemShell();
    const auto computerName = veltaro::createSystemComputerName();
    veltaro::DemoNorthbridge northbridge;
    veltaro::DemoProcessorIdentity processor;
    veltaro::DemoReadings readings(northbridge);
    veltaro::DemoRegistry registry(*computerName);
    veltaro::WindowsMessageService messages;
    return veltaro::win32::runVeltaro(
        instance, {readings, registry, *computerName, messages, *shell, processor, std::chrono::steady_clock::now},
        veltaro::kDemoTitle);
}
