// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace veltaro {

// The window is laid out in pixels of a 96 DPI design. Its fonts are sized
// in pixels too, so that text keeps its relation to the boxes it sits in
// whatever logical DPI the desktop reports.

// The desktop's general font, as large as fits the design's 13 px line.
QFont dialogFont();

// A face at a size given in points of the 96 DPI design (27.75 pt is 37 px).
QFont designFont(const QString& family, double designPoints, bool bold, bool underline = false);

}  // namespace veltaro
