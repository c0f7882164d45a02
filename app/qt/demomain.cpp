// SPDX-License-Identifier: MIT
#include <QApplication>

#include "demoprogram.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    return veltaro::runDemo(application);
}
