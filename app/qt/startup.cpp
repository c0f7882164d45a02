// SPDX-License-Identifier: MIT
#include "startup.h"

#include <QApplication>

namespace veltaro {

int runVeltaro(QApplication& application, const Frmmain::Services& services, const QString& title)
{
    Frmmain window(services, title);
    if (!window.start())
        return 1;
    return application.exec();
}

}  // namespace veltaro
