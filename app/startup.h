#pragma once

#include <QString>

#include "frmmain.h"

class QApplication;

namespace veltaro {

// Runs the start-up sequence and shows the window when it succeeded.
// False when the program must end without showing it.
bool startUp(Frmmain& window);

// The whole program on the given services: start-up, then the event loop.
int runVeltaro(QApplication& application, const Frmmain::Services& services, const QString& title);

}  // namespace veltaro
