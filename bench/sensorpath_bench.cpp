// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "configspacelock.h"
#include "configspacesource.h"
#include "cpuinfofixture.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "fixturetree.h"
#include "kernelreadingsource.h"
#include "linuxconfigspace.h"
#include "linuxprocessoridentity.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// Allocations made by this program since it started: a tick that reads
// what the last one read should make none.
std::atomic<long long> g_allocations{0};

// Runs the tick for the benchmark and reports its allocations per tick.
template <typename Tick> void countedTicks(benchmark::State& state, Tick&& tick)
{
    const long long before = g_allocations.load();
    for (auto _ : state)
        tick();
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before), benchmark::Counter::kAvgIterations);
}

constexpr std::uint8_t kThermalOffset = 0xA4;

// A family 10h northbridge at 55 degrees, its whole 256-byte configuration
// space readable, as root sees it.
class NorthbridgeTree {
public:
    NorthbridgeTree()
    {
        m_config = m_tree.writeConfig("0000:00:18.3", 256, {{0xFC, 0x00100F42}, {kThermalOffset, 0x37000000}});
    }

    const std::filesystem::path& root() const { return m_tree.root(); }
    const std::filesystem::path& config() const { return m_config; }

private:
    testing::FixtureTree m_tree;
    std::filesystem::path m_config;
};

// One tree for the whole run: the floor and the tick read the same file,
// so that their ratio compares what the program adds, not two files.
const NorthbridgeTree& northbridgeTree()
{
    static const NorthbridgeTree tree;
    return tree;
}

// A way to configuration space that answers every read at once with a
// fixed register value.
class ConstantConfigSpace final : public ConfigSpace {
public:
    explicit ConstantConfigSpace(std::uint32_t value)
        : m_value(value)
    {
    }
    bool start() override { return true; }
    std::optional<std::uint32_t> read(const PciFunctionAddress&, std::uint8_t) override { return m_value; }
    bool write(const PciFunctionAddress&, std::uint8_t, std::uint32_t) override { return false; }

private:
    std::uint32_t m_value;
};

// The floor: the one system call a sample cannot do without, on a
// descriptor opened once.
void BM_BarePread(benchmark::State& state)
{
    const NorthbridgeTree& tree = northbridgeTree();
    const int fd = ::open(tree.config().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open the fixture");
    unsigned char bytes[4];
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pread(fd, bytes, sizeof bytes, kThermalOffset));
        benchmark::DoNotOptimize(bytes);
    }
    ::close(fd);
}
BENCHMARK(BM_BarePread);

// What one tick of Timer1 does up to the caption text: the register read
// through the port pair on the Linux driver, Hex8, HexDigitsToDecimal and
// the caption.
void BM_TickSensorPath(benchmark::State& state)
{
    const NorthbridgeTree& tree = northbridgeTree();
    LinuxConfigSpace configSpace(tree.root());
    if (!configSpace.start())
        throw std::runtime_error("the configuration file does not read the fixture");
    FakeProcessorIdentity brand;
    UncontendedConfigSpaceLock lock;
    ConfigSpaceSource source(configSpace, lock);
    const std::wstring familyCode = detectFamily(source, brand).familyCode;
    TemperatureSampler sampler(source);
    if (sampler.sample(familyCode) != L" 55'C")
        throw std::runtime_error("the fixture does not read 55 degrees");
    countedTicks(state, [&] { benchmark::DoNotOptimize(sampler.sample(familyCode)); });
}
BENCHMARK(BM_TickSensorPath);

// The same tick without the system call: what the program adds to it.
void BM_TickSensorPathWithoutIo(benchmark::State& state)
{
    ConstantConfigSpace configSpace(0x37000000);
    UncontendedConfigSpaceLock lock;
    ConfigSpaceSource source(configSpace, lock);
    TemperatureSampler sampler(source);
    const std::wstring familyCode = L"10";
    countedTicks(state, [&] { benchmark::DoNotOptimize(sampler.sample(familyCode)); });
}
BENCHMARK(BM_TickSensorPathWithoutIo);

// The kernel's k10temp reading of a family 17h server processor (the
// generated description of 64 logical processors) at 55.125 degrees, in
// the function's hwmon folder as sysfs lays it out.
class KernelSensorTree {
public:
    KernelSensorTree()
    {
        const std::string folder = "devices/0000:00:18.3/hwmon/hwmon2";
        m_tree.writeFile(folder + "/name", "k10temp\n");
        m_temperature = m_tree.writeFile(folder + "/temp1_input", "55125\n");
        m_tree.writeFile("proc/cpuinfo", bench::serverCpuInfo());
    }

    const std::filesystem::path& root() const { return m_tree.root(); }
    std::filesystem::path procRoot() const { return m_tree.root() / "proc"; }
    const std::filesystem::path& temperature() const { return m_temperature; }

private:
    testing::FixtureTree m_tree;
    std::filesystem::path m_temperature;
};

// The same for the kernel's way.
const KernelSensorTree& kernelSensorTree()
{
    static const KernelSensorTree tree;
    return tree;
}

// The floor of the kernel's way: one read of the held temperature file.
void BM_BareHwmonPread(benchmark::State& state)
{
    const KernelSensorTree& tree = kernelSensorTree();
    const int fd = ::open(tree.temperature().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open the fixture");
    char text[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pread(fd, text, sizeof text, 0));
        benchmark::DoNotOptimize(text);
    }
    ::close(fd);
}
BENCHMARK(BM_BareHwmonPread);

// One tick on the kernel's reading: the held file read again, the figure
// turned into the caption.
void BM_TickKernelReading(benchmark::State& state)
{
    const KernelSensorTree& tree = kernelSensorTree();
    KernelReadingSource source(tree.root(), tree.procRoot());
    if (!source.start())
        throw std::runtime_error("the source does not read the fixture");
    LinuxProcessorIdentity identity(tree.procRoot());
    const DetectedFamily processor = detectFamily(source, identity);
    TemperatureSampler sampler(source);
    sampler.setProcessor(processor);
    if (sampler.sample(processor.familyCode) != L" 55'C")
        throw std::runtime_error("the fixture does not read 55 degrees");
    countedTicks(state, [&] { benchmark::DoNotOptimize(sampler.sample(processor.familyCode)); });
}
BENCHMARK(BM_TickKernelReading);

}  // namespace
}  // namespace veltaro

void* operator new(std::size_t size)
{
    ++veltaro::g_allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept
{
    std::free(memory);
}
