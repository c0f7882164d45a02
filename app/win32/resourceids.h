// SPDX-License-Identifier: MIT
#pragma once

// Numbers of the program file's resources, shared by the resource scripts
// and the window. The lowest-numbered icon is the one the desktop shows
// for the file.
#define VELTARO_ICON_PROGRAM 1
#define VELTARO_ICON_ENVELOPE 2
#define VELTARO_PICTURE_EMBLEM 3
// The same pictures drawn at twice the size, for screens above 96 DPI.
#define VELTARO_ICON_ENVELOPE_2X 4
#define VELTARO_PICTURE_EMBLEM_2X 5
