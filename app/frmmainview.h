// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "shell.h"

namespace veltaro {

// What the window's behaviour needs of the window: each face (the Qt
// window on Linux, the native one on Windows) implements it over its own
// controls. Texts are wide; each face converts them for its toolkit.
class FrmmainView {
public:
    virtual ~FrmmainView() = default;

    // The caption of `lbltemp`.
    virtual void setTemperatureCaption(const std::wstring& caption) = 0;

    // The text of `txtsign`, which holds the FamilyCode between start-up
    // and the ticks.
    virtual std::wstring familyCode() const = 0;
    virtual void setFamilyCode(const std::wstring& code) = 0;

    // Whether the tooltip of `lbltemp` is showing: the readout's details
    // (every node, every die, the highest reading) are read only then.
    virtual bool readoutDetailsShown() const = 0;
    // The text of that tooltip.
    virtual void setReadoutDetails(const std::wstring& text) = 0;

    // The caption of `lblProcessorName`.
    virtual void setProcessorLine(const std::wstring& line) = 0;

    // `Timer1`: every 200 ms while enabled, the first tick one period
    // after it is enabled.
    virtual void setTimer1Enabled(bool enabled) = 0;

    // The folder that holds the program file, without a trailing separator.
    virtual std::wstring programFolder() const = 0;

    // The window's native handle, for the shell call.
    virtual WindowHandle nativeWindowHandle() const = 0;

    // Makes the window visible; start-up calls it once, at its end.
    virtual void showWindow() = 0;

    // The notification area's icon, where the desktop has one: the whole
    // degrees the readout shows, or none while it is empty. Each call is a
    // change: the face draws its icon anew.
    virtual void setNotificationNumber(std::optional<long long> celsius) = 0;
    // Its tooltip's lines; the face fits them to its platform's limit.
    virtual void setNotificationTip(const std::wstring& text) = 0;
    // Puts the icon in the notification area; start-up calls it once,
    // after the window shows.
    virtual void showNotificationIcon() = 0;
};

}  // namespace veltaro
