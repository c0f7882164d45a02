// SPDX-License-Identifier: MIT
#include "demoprogram.h"

#include <QApplication>

#include "demonorthbridge.h"
#include "demoprocessoridentity.h"
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
    UncontendedConfigSpace configSpace;
    DemoRegistry registry(*computerName);
    QtMessageService messages;
    return runVeltaro(application, {northbridge, registry, *computerName, messages, *shell, processor, configSpace},
                      QString::fromWCharArray(kDemoTitle));
}

}  // namespace veltaro
