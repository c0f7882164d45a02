#include "startup.h"

#include <QApplication>

namespace veltaro {

bool startUp(Frmmain& window)
{
    if (!window.load())
        return false;
    window.show();
    return true;
}

int runVeltaro(QApplication& application, const Frmmain::Services& services, const QString& title)
{
    Frmmain window(services, title);
    if (!startUp(window))
        return 1;
    return application.exec();
}

}  // namespace veltaro
