// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "clickablelabel.h"
#include "frmmainbehaviour.h"
#include "frmmainview.h"

namespace veltaro {

// The program's one window in Qt: temperature readout, processor line,
// emblem and author credits. What it does lives in FrmmainBehaviour; this
// class lays out the elements and forwards the timer and the click.
class Frmmain : public QWidget, private FrmmainView {
    Q_OBJECT

public:
    using Services = FrmmainServices;

    explicit Frmmain(const Services& services, const QString& title, QWidget* parent = nullptr);

    // The load handler. False when the port driver could not be started:
    // the user has been told and the program must end.
    bool load();
    // The load handler, then the window is shown if it succeeded.
    bool start();

    // The window's elements, named as in its design.
    QLineEdit* txtsign;
    ClickableLabel* Label3;
    QLabel* Label8;
    QLabel* Image1;
    QLabel* lblProcessorName;
    QLabel* lbltemp;
    QWidget* Shape1;
    QTimer* Timer1;
    // The number in the notification area; none where the desktop has
    // no notification area.
    QSystemTrayIcon* trayIcon = nullptr;

public slots:
    // One temperature sample, every 200 ms while Timer1 runs.
    void onTimer1Tick();
    // The contact link.
    void onLabel3Click();
    // The notification area's icon or its menu asked for the window:
    // restored, raised and active.
    void bringToFront();

protected:
    // Fills the readout's tooltip with figures read as it shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool readoutDetailsShown() const override;
    void setReadoutDetails(const std::wstring& text) override;
    void setTemperatureCaption(const std::wstring& caption) override;
    std::wstring familyCode() const override;
    void setFamilyCode(const std::wstring& code) override;
    void setProcessorLine(const std::wstring& line) override;
    void setTimer1Enabled(bool enabled) override;
    std::wstring programFolder() const override;
    WindowHandle nativeWindowHandle() const override;
    void showWindow() override;
    void setNotificationNumber(std::optional<long long> celsius) override;
    void setNotificationTip(const std::wstring& text) override;
    void showNotificationIcon() override;

    std::optional<long long> m_trayNumber;
    QString m_trayTip;
    FrmmainBehaviour m_behaviour;
};

}  // namespace veltaro
