// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "demonorthbridge.h"

namespace {

// The whole degrees the demo's readout shows `elapsed` after its start:
// bits 31..24 of its simulated register.
int demoDegreesAt(std::chrono::milliseconds elapsed)
{
    return static_cast<int>(veltaro::DemoNorthbridge::thermalRegisterAt(elapsed) >> 24);
}

}  // namespace

// The least a Qt 6 Widgets program with a window that ticks can cost: one
// window of Veltaro's size with one label whose text is set every 200 ms,
// and changed exactly when the demo's readout changes, so that both
// repaint alike. The footprint check measures Veltaro against it.
//
// With --changes <from s> <to s> it opens no window and prints how often
// the text changes between those times after start.
int main(int argc, char* argv[])
{
    using namespace std::chrono_literals;
    if (argc == 4 && std::strcmp(argv[1], "--changes") == 0) {
        const auto from = std::chrono::milliseconds(static_cast<long long>(std::atof(argv[2]) * 1000));
        const auto to = std::chrono::milliseconds(static_cast<long long>(std::atof(argv[3]) * 1000));
        int changes = 0;
        for (auto tick = from + 200ms; tick <= to; tick += 200ms)
            changes += demoDegreesAt(tick) != demoDegreesAt(tick - 200ms) ? 1 : 0;
        std::printf("%d\n", changes);
        return 0;
    }

    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(307, 168);
    QLabel label(&window);
    label.setGeometry(40, 32, 115, 46);
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const std::chrono::milliseconds elapsed(clock.elapsed());
        label.setText(QStringLiteral(" %1'C").arg(demoDegreesAt(elapsed)));
    });
    tick.start(200);
    window.show();
    return application.exec();
}
