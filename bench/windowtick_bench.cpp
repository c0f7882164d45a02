// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHelpEvent>

#include <chrono>
#include <stdexcept>

#include "configspacelock.h"
#include "configspacesource.h"
#include "fakecomputername.h"
#include "fakeprocessoridentity.h"
#include "fixturetree.h"
#include "frmmain.h"
#include "inmemoryregistry.h"
#include "linuxconfigspace.h"
#include "recordingmessageservice.h"
#include "recordingshell.h"

namespace veltaro {
namespace {

// Timer1's whole tick as the window runs it, through the configuration file against a
// family 10h fixture at 55 degrees with a second node: the family code
// read back from txtsign, the sensor path, and the caption handed to
// lbltemp; with `tooltip`, the readout's tooltip showing, so that the
// second node is read too and the text handed over. The window is never
// shown, so nothing is painted.
void timer1Tick(benchmark::State& state, bool tooltip)
{
    testing::FixtureTree tree;
    tree.writeConfig("0000:00:18.3", 256, {{0x00, 0x12031022}, {0xFC, 0x00100F42}, {0xA4, 0x37000000}});
    tree.writeConfig("0000:00:19.3", 256, {{0x00, 0x12031022}, {0xA4, 0x35000000}});
    LinuxConfigSpace configSpace(tree.root());
    InMemoryRegistry registry("BENCHBOX");
    registry.setString("HARDWARE\\DESCRIPTION\\System", "Identifier", "AT/AT COMPATIBLE");
    FakeComputerName computerName("BENCHBOX");
    RecordingMessageService messages;
    RecordingShell shell;
    FakeProcessorIdentity processorIdentity;
    UncontendedConfigSpaceLock lock;
    ConfigSpaceSource readings(configSpace, lock);
    Frmmain window(
        {readings, registry, computerName, messages, shell, processorIdentity, std::chrono::steady_clock::now},
        QStringLiteral("Veltaro"));
    if (!window.load())
        throw std::runtime_error("the driver does not read the fixture");
    window.Timer1->stop();
    window.onTimer1Tick();
    if (window.lbltemp->text() != QStringLiteral(" 55'C"))
        throw std::runtime_error("the fixture does not read 55 degrees");
    if (tooltip) {
        const QPoint centre = window.lbltemp->rect().center();
        QHelpEvent rest(QEvent::ToolTip, centre, window.lbltemp->mapToGlobal(centre));
        QApplication::sendEvent(window.lbltemp, &rest);
        if (!window.lbltemp->toolTip().contains(QStringLiteral("Node 1: 53'C")))
            throw std::runtime_error("the tooltip does not show the second node");
    }
    for (auto _ : state)
        window.onTimer1Tick();
}

void BM_Timer1Tick(benchmark::State& state)
{
    timer1Tick(state, false);
}
BENCHMARK(BM_Timer1Tick);

void BM_Timer1TickWithTooltip(benchmark::State& state)
{
    timer1Tick(state, true);
}
BENCHMARK(BM_Timer1TickWithTooltip);

}  // namespace
}  // namespace veltaro

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
