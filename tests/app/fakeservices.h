// SPDX-License-Identifier: MIT
#pragma once

#include "configspacesource.h"
#include "fakecomputername.h"
#include "fakeconfigspace.h"
#include "fakeconfigspacelock.h"
#include "fakeprocessoridentity.h"
#include "frmmainbehaviour.h"
#include "inmemoryregistry.h"
#include "recordingmessageservice.h"
#include "recordingregistry.h"
#include "recordingshell.h"

namespace veltaro::testing {

inline constexpr char kSystemKey[] = "HARDWARE\\Description\\System";
inline constexpr char kProcessorKey[] = "HARDWARE\\Description\\System\\CentralProcessor\\0";
inline constexpr std::uint32_t kFamily10hSignature = 0x00100F42;

// Recording fakes of every service the window works with: a family 10h
// northbridge and a registry that describes a processor on "testbox".
struct FakeServices {
    FakeServices()
    {
        space.value = kFamily10hSignature;
        hardware.setString(kSystemKey, "Identifier", "AT/AT COMPATIBLE");
        hardware.setString(kProcessorKey, "ProcessorNameString", "AMD Phenom(tm) II X4 940 Processor");
    }

    FrmmainServices services()
    {
        return {readings, registry, computerName, messages, shell, processorIdentity, [this] { return now; }};
    }

    FakeConfigSpace space;
    FakeComputerName computerName{"testbox"};
    InMemoryRegistry hardware{"testbox"};
    RecordingRegistry registry{hardware};
    RecordingMessageService messages;
    RecordingShell shell;
    FakeProcessorIdentity processorIdentity;
    FakeConfigSpaceLock configSpaceLock;
    ConfigSpaceSource readings{space, configSpaceLock};
    std::chrono::steady_clock::time_point now;
};

}  // namespace veltaro::testing
