#pragma once

#include <gtest/gtest.h>

#include "fakecomputername.h"
#include "fakeportio.h"
#include "frmmain.h"
#include "inmemoryregistry.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"
#include "recordingshell.h"

namespace veltaro::testing {

inline constexpr char kSystemKey[] = "HARDWARE\\Description\\System";
inline constexpr char kProcessorKey[] = "HARDWARE\\Description\\System\\CentralProcessor\\0";

// The main window on recording fakes of every platform service: a family
// 10h northbridge at 55 degrees and a registry that describes a processor.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture()
    {
        ports.dataPortValue = 0x00100F42;
        hardware.setString(kSystemKey, "Identifier", "AT/AT COMPATIBLE");
        hardware.setString(kProcessorKey, "ProcessorNameString", "AMD Phenom(tm) II X4 940 Processor");
    }

    FakePortIo ports;
    FakeComputerName computerName{"testbox"};
    InMemoryRegistry hardware{"testbox"};
    RecordingRegistry registry{hardware};
    RecordingMessageService messages;
    RecordingShell shell;
    Frmmain window{{ports, registry, computerName, messages, shell}, QStringLiteral("Veltaro")};
};

}  // namespace veltaro::testing
