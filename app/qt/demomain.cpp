#include <QApplication>

#include "demonorthbridge.h"
#include "demoregistry.h"
#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

// The same program on a simulated family 10h processor and its hardware
// description. Its title says so, so that nobody takes its figures for a
// measurement.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const auto shell = veltaro::createSystemShell();
    const auto computerName = veltaro::createSystemComputerName();
    veltaro::DemoNorthbridge northbridge;
    veltaro::DemoRegistry registry(*computerName);
    veltaro::QtMessageService messages;
    return veltaro::runVeltaro(application, {northbridge, registry, *computerName, messages, *shell},
                               QStringLiteral("Veltaro (simulated processor)"));
}
