// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

#include "configspacelock.h"
#include "cpuinfofixture.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "fixturetree.h"
#include "kernelreadingsource.h"
#include "linuxportio.h"
#include "linuxprocessoridentity.h"
#include "portregistersource.h"
#include "portsampling.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using testing::detectThroughPorts;

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

// A driver that answers every read at once with a fixed register value.
class ConstantPortIo final : public PortIo {
public:
    explicit ConstantPortIo(std::uint32_t value)
        : m_value(value)
    {
    }
    bool InitializeWinIo() override { return true; }
    bool SetPortVal(std::uint16_t, std::uint32_t, std::uint8_t) override { return true; }
    bool GetPortVal(std::uint16_t, std::uint32_t& value, std::uint8_t) override
    {
        value = m_value;
        return true;
    }

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
    LinuxPortIo portIo(tree.root());
    if (!portIo.InitializeWinIo())
        throw std::runtime_error("the driver does not read the fixture");
    FakeProcessorIdentity brand;
    UncontendedConfigSpace configSpace;
    const std::wstring familyCode = detectThroughPorts(portIo, configSpace, brand).familyCode;
    PortRegisterSource source(portIo, configSpace);
    TemperatureSampler sampler(source);
    if (sampler.sample(familyCode) != L" 55'C")
        throw std::runtime_error("the fixture does not read 55 degrees");
    std::wstring caption;
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample(familyCode, caption));
}
BENCHMARK(BM_TickSensorPath);

// The same tick without the system call: what the program adds to it.
void BM_TickSensorPathWithoutIo(benchmark::State& state)
{
    ConstantPortIo portIo(0x37000000);
    UncontendedConfigSpace configSpace;
    PortRegisterSource source(portIo, configSpace);
    TemperatureSampler sampler(source);
    const std::wstring familyCode = kFamily10h;
    std::wstring caption;
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample(familyCode, caption));
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
    std::wstring caption;
    for (auto _ : state)
        benchmark::DoNotOptimize(sampler.sample(processor.familyCode, caption));
}
BENCHMARK(BM_TickKernelReading);

}  // namespace
}  // namespace veltaro
