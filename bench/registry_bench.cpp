// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "cpuinfofixture.h"
#include "fakecomputername.h"
#include "functions.h"
#include "inmemoryregistry.h"
#include "linuxhardwareregistry.h"
#include "recordingmessageservice.h"

namespace veltaro {
namespace {

constexpr char kComputer[] = "BENCHBOX";
constexpr wchar_t kProcessorKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

// One ReadRegistryValue of the processor's name, as the identification
// stage reads it, on a registry already connected.
void readProcessorName(benchmark::State& state, RegistryBackend& registry)
{
    FakeComputerName computerName(kComputer);
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);
    if (functions.ConnectRegistry(L"BENCHBOX") != 0)
        throw std::runtime_error("cannot connect to the registry");
    if (functions.ReadRegistryValue(kProcessorKey, L"ProcessorNameString").empty())
        throw std::runtime_error("the registry has no processor name");
    for (auto _ : state)
        benchmark::DoNotOptimize(functions.ReadRegistryValue(kProcessorKey, L"ProcessorNameString"));
}

void BM_ReadRegistryValueInMemory(benchmark::State& state)
{
    InMemoryRegistry registry(kComputer);
    registry.setString("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "ProcessorNameString",
                       "AMD Phenom(tm) II X4 965 Processor");
    readProcessorName(state, registry);
}
BENCHMARK(BM_ReadRegistryValueInMemory);

void BM_ReadRegistryValueLinux(benchmark::State& state)
{
    const bench::CpuInfoFile cpuInfo(bench::serverCpuInfo(64));
    LinuxHardwareRegistry registry(cpuInfo.path(), kComputer);
    readProcessorName(state, registry);
}
BENCHMARK(BM_ReadRegistryValueLinux);

// Building the Linux stand-in's tree from a 64-processor description
// (about 100 kB), file read included.
void BM_BuildLinuxRegistry64(benchmark::State& state)
{
    const std::string text = bench::serverCpuInfo(64);
    const bench::CpuInfoFile cpuInfo(text);
    for (auto _ : state) {
        LinuxHardwareRegistry registry(cpuInfo.path(), kComputer);
        benchmark::DoNotOptimize(registry);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_BuildLinuxRegistry64)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltaro
