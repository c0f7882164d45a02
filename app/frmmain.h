#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "clickablelabel.h"
#include "functions.h"
#include "temperaturesampler.h"

namespace veltaro {

class ComputerName;
class MessageService;
class PortIo;
class RegistryBackend;
class Shell;

// The program's one window: temperature readout, processor line, emblem
// and author credits. `load` runs the whole start-up before the window is
// first shown.
class Frmmain : public QWidget {
    Q_OBJECT

public:
    struct Services {
        PortIo& portIo;
        RegistryBackend& registry;
        ComputerName& computerName;
        MessageService& messages;
        Shell& shell;
    };

    explicit Frmmain(const Services& services, const QString& title, QWidget* parent = nullptr);

    // The start-up sequence. False when the port driver could not be
    // started: the user has been told and the program must end.
    bool load();

    // The window's elements, named as in its design.
    QLineEdit* txtsign;
    ClickableLabel* Label3;
    QLabel* Label8;
    QLabel* Image1;
    QLabel* lblProcessorName;
    QLabel* lbltemp;
    QWidget* Shape1;
    QTimer* Timer1;

public slots:
    // One temperature sample, every 200 ms while Timer1 runs.
    void onTimer1Tick();
    // The contact link.
    void onLabel3Click();

private:
    void runIdentificationStage();

    Services m_services;
    TemperatureSampler m_sampler;
    Functions m_functions;
};

}  // namespace veltaro
