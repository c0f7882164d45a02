// SPDX-License-Identifier: MIT
#include "demoprogram.h"

#include <QApplication>

#include <chrono>

#include "demonorthbridge.h"
#include "demoprocessoridentity.h"
#include "demoreadings.h"
#include "demoregistry.h"
#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

namespace veltaro {

int runDemo(QApplication& application)
{
    const auto shell = createSystemShell();
    const auto computerName = createSystemComputerName();
    DemoNorthbridge northbridge;
    DemoProcessorIdentity processor;
    DemoReadings readings(northbridge);
    DemoRegistry registry(*computerName);
    QtMessageService messages;
    return runVeltaro(application,
                      {readings, registry, *computerName, messages, *shell, processor, std::chrono::steady_clock::now},
                      QString::fromWCharArray(kDemoTitle));
}

}  // namespace veltaro
