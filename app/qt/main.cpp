#include <QApplication>

#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const auto portIo = veltaro::createSystemPortIo();
    const auto registry = veltaro::createSystemRegistry();
    const auto shell = veltaro::createSystemShell();
    const auto computerName = veltaro::createSystemComputerName();
    veltaro::QtMessageService messages;
    return veltaro::runVeltaro(application, {*portIo, *registry, *computerName, messages, *shell},
                               QString::fromWCharArray(veltaro::kApplicationTitle));
}
