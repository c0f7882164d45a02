// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <QApplication>

#include <stdexcept>

#include "configspacelock.h"
#include "fakecomputername.h"
#include "fakeprocessoridentity.h"
#include "fixturetree.h"
#include "frmmain.h"
#include "inmemoryregistry.h"
#include "linuxportio.h"
#include "recordingmessageservice.h"
#include "recordingshell.h"

namespace veltaro {
namespace {

// Timer1's whole tick as the window runs it, on the Linux driver against a
// family 10h fixture at 55 degrees: the family code read back from
// txtsign, the sensor path, and the caption handed to lbltemp. The window
// is never shown, so nothing is painted.
void BM_Timer1Tick(benchmark::State& state)
{
    testing::FixtureTree tree;
    tree.writeConfig("0000:00:18.3", 256, {{0xFC, 0x00100F42}, {0xA4, 0x37000000}});
    LinuxPortIo portIo(tree.root());
    InMemoryRegistry registry("BENCHBOX");
    registry.setString("HARDWARE\\DESCRIPTION\\System", "Identifier", "AT/AT COMPATIBLE");
    FakeComputerName computerName("BENCHBOX");
    RecordingMessageService messages;
    RecordingShell shell;
    FakeProcessorIdentity processorIdentity;
    UncontendedConfigSpace configSpace;
    Frmmain window({portIo, registry, computerName, messages, shell, processorIdentity, configSpace},
                   QStringLiteral("Veltaro"));
    if (!window.load())
        throw std::runtime_error("the driver does not read the fixture");
    window.Timer1->stop();
    window.onTimer1Tick();
    if (window.lbltemp->text() != QStringLiteral(" 55'C"))
        throw std::runtime_error("the fixture does not read 55 degrees");
    for (auto _ : state)
        window.onTimer1Tick();
}
BENCHMARK(BM_Timer1Tick);

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
