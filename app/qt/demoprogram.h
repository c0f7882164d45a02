// SPDX-License-Identifier: MIT
#pragma once

class QApplication;

namespace veltaro {

// The demo: the whole program on a simulated family 10h processor and its
// hardware description, under a title that says so.
int runDemo(QApplication& application);

}  // namespace veltaro
