// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "frmmainview.h"

namespace veltaro::testing {

// A window without a toolkit: keeps what the behaviour set, and reports
// each change as one line to `onChange`, so that a test can put the
// window's changes, the port calls and the message boxes in one order.
class RecordingView final : public FrmmainView {
public:
    std::wstring caption;
    std::wstring code;
    std::wstring processorLine;
    bool timerEnabled = false;
    bool visible = false;
    bool detailsShown = false;
    std::wstring details;
    std::wstring notificationTip;
    std::wstring folder = L"C:\\Program Files\\Veltaro";
    WindowHandle handle = 0x1234;
    std::function<void(const std::string&)> onChange;

    void setTemperatureCaption(const std::wstring& text) override
    {
        caption = text;
        report("caption", text);
    }
    std::wstring familyCode() const override { return code; }
    void setFamilyCode(const std::wstring& text) override
    {
        code = text;
        report("txtsign", text);
    }
    bool readoutDetailsShown() const override { return detailsShown; }
    void setReadoutDetails(const std::wstring& text) override
    {
        details = text;
        report("details", text);
    }
    void setProcessorLine(const std::wstring& line) override
    {
        processorLine = line;
        report("processor", line);
    }
    void setTimer1Enabled(bool enabled) override
    {
        timerEnabled = enabled;
        report("Timer1", enabled ? L"on" : L"off");
    }
    std::wstring programFolder() const override { return folder; }
    WindowHandle nativeWindowHandle() const override { return handle; }
    void showWindow() override
    {
        visible = true;
        report("shown", L"");
    }
    void setNotificationNumber(std::optional<long long> n) override { report("icon", n ? std::to_wstring(*n) : L"--"); }
    void setNotificationTip(const std::wstring& text) override { notificationTip = text; }
    void showNotificationIcon() override { report("icon shown", L""); }

private:
    void report(const char* what, const std::wstring& text)
    {
        if (onChange)
            onChange(std::string(what) + " " + std::string(text.begin(), text.end()));
    }
};

}  // namespace veltaro::testing
