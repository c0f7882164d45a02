// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "frmmain.h"

class QApplication;

namespace veltaro {

// The whole program on the given services: start-up, then the event loop.
// Ends without entering the loop when start-up ended the program.
int runVeltaro(QApplication& application, const Frmmain::Services& services, const QString& title);

}  // namespace veltaro
