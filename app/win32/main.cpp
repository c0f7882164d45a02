// SPDX-License-Identifier: MIT
#include <windows.h>

#include <chrono>

#include "librarysearch.h"
#include "startup.h"
#include "systemservices.h"
#include "windowsmessageservice.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    veltaro::restrictLibrarySearch();
    const auto readings = veltaro::createSystemReadingSource();
    const auto registry = veltaro::createSystemRegistry();
    const auto shell = veltaro::createSystemShell();
    const auto computerName = veltaro::createSystemComputerName();
    const auto processorIdentity = veltaro::createSystemProcessorIdentity();
    veltaro::WindowsMessageService messages;
    return veltaro::win32::runVeltaro(
        instance,
        {*readings, *registry, *computerName, messages, *shell, *processorIdentity, std::chrono::steady_clock::now},
        veltaro::kApplicationTitle);
}
