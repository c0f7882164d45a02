// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLabel>
#include <QWidget>

// The least a Qt 6 Widgets program with a window can cost: one window of
// Veltaro's size with one label, and nothing else. The footprint check
// measures Veltaro against it.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(307, 168);
    QLabel label(QStringLiteral(" 45'C"), &window);
    label.setGeometry(40, 32, 115, 46);
    window.show();
    return application.exec();
}
