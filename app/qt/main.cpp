// SPDX-License-Identifier: MIT
#include <QApplication>

#include <chrono>

#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

int main(int argc, char* argv[])
{
    // Before the toolkit starts: run as root, the registers are opened now
    // and root is then given up.
    const auto readings = veltaro::createSystemReadingSource();
    if (!veltaro::dropToInvokingUser())
        return 1;
    QApplication application(argc, argv);
    const auto registry = veltaro::createSystemRegistry();
    const auto shell = veltaro::createSystemShell();
    const auto computerName = veltaro::createSystemComputerName();
    const auto processorIdentity = veltaro::createSystemProcessorIdentity();
    veltaro::QtMessageService messages;
    return veltaro::runVeltaro(
        application,
        {*readings, *registry, *computerName, messages, *shell, *processorIdentity, std::chrono::steady_clock::now},
        QString::fromWCharArray(veltaro::kApplicationTitle));
}
