#include <QApplication>

#include "qtmessageservice.h"
#include "startup.h"
#include "systemservices.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const auto portIo = veltaro::createSystemPortIo();
    const auto shell = veltaro::createSystemShell();
    veltaro::QtMessageService messages;
    return veltaro::runVeltaro(application, {*portIo, messages, *shell}, QStringLiteral("Veltaro"));
}
