#include <QApplication>

#include "demonorthbridge.h"
#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

// The same program on a simulated family 10h processor. Its title says so,
// so that nobody takes its figures for a measurement.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    veltaro::DemoNorthbridge northbridge;
    const auto shell = veltaro::createSystemShell();
    veltaro::QtMessageService messages;
    return veltaro::runVeltaro(application, {northbridge, messages, *shell},
                               QStringLiteral("Veltaro (simulated processor)"));
}
