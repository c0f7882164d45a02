// SPDX-License-Identifier: MIT
#include "kernelreadingsource.h"

#include <utility>

#include "cpuinfoprocessor.h"
#include "hwmonattribute.h"
#include "linuxconfigspace.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

// N of a label Tccd<N>; none for any other label.
std::optional<unsigned> dieNumberOf(const std::string& label)
{
    const std::optional<unsigned> number = numberAfter("Tccd", label);
    if (!number || *number == 0 || *number > kMaxDieSensors)
        return std::nullopt;
    return number;
}

}  // namespace

KernelReadingSource::KernelReadingSource(std::filesystem::path pciRoot, std::filesystem::path procRoot,
                                         KernelTemperature::Clock clock)
    : m_pciRoot(std::move(pciRoot))
    , m_procRoot(std::move(procRoot))
    , m_clock(std::move(clock))
{
}

bool KernelReadingSource::start()
{
    m_temperature.reset();
    const std::optional<IdentifiedProcessor> processor = readProcessorZero(m_procRoot / "cpuinfo");
    if (!processor)
        return false;
    const ProcessorVendor vendor = vendorOf(processor->vendor);
    if (vendor == ProcessorVendor::Other)
        return false;
    const ProcessorFamily* row =
        findProcessorFamily(vendor, processorFamily(processor->signature), processorModel(processor->signature));
    static constexpr std::string_view kKernelDrivers[] = {"k10temp", "k8temp"};
    for (const std::string_view driver : kKernelDrivers) {
        if (row != nullptr && driver != row->kernelDriver)
            continue;
        m_driver = std::string(driver);
        KernelTemperature temperature(functionFolderOf(0), m_driver, m_clock);
        if (temperature.start()) {
            m_temperature = std::move(temperature);
            return true;
        }
    }
    return false;
}

std::filesystem::path KernelReadingSource::functionFolderOf(unsigned node) const
{
    return pciFunctionFolder(m_pciRoot, nodeFunction(node));
}

unsigned KernelReadingSource::nodeCount(const ProcessorFamily& /*row*/)
{
    if (!m_temperature)
        return 1;
    if (!m_nodes) {
        unsigned nodes = 1;
        while (nodes < kMaxNodes && !hwmonFoldersOf(functionFolderOf(nodes), m_driver).empty())
            ++nodes;
        m_nodes = nodes;
        m_nodesCountedAt = m_clock();
    }
    return *m_nodes;
}

void KernelReadingSource::recountNodes()
{
    if (m_nodes && m_clock() - m_nodesCountedAt >= std::chrono::seconds(1))
        m_nodes.reset();
}

std::optional<SourceReading> KernelReadingSource::readNode(const ProcessorFamily& row, unsigned node)
{
    if (node == 0)
        return read(row);
    if (!m_temperature || node >= kMaxNodes)
        return std::nullopt;
    std::optional<KernelTemperature>& temperature = m_otherNodes[node];
    if (!temperature) {
        temperature.emplace(functionFolderOf(node), m_driver, m_clock);
        temperature->start();
    }
    const std::optional<long long> millidegrees = temperature->millidegrees();
    if (!millidegrees)
        return std::nullopt;
    return SourceReading::kernelMillidegrees(*millidegrees);
}

std::optional<std::filesystem::path> KernelReadingSource::dieFileOf(unsigned node, unsigned number)
{
    std::optional<std::map<unsigned, std::filesystem::path>>& files = m_dieFiles[node];
    if (!files) {
        files.emplace();
        const std::vector<std::filesystem::path> folders = hwmonFoldersOf(functionFolderOf(node), m_driver);
        if (!folders.empty()) {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(folders.front(), error)) {
                const std::string name = entry.path().filename().string();
                constexpr std::string_view kLabelEnd = "_label";
                if (name.size() <= kLabelEnd.size() ||
                    name.compare(name.size() - kLabelEnd.size(), kLabelEnd.size(), kLabelEnd) != 0)
                    continue;
                const std::optional<std::string> label = readAttributeFile(entry.path());
                if (const std::optional<unsigned> die = label ? dieNumberOf(*label) : std::nullopt)
                    files->emplace(*die, folders.front() / (name.substr(0, name.size() - kLabelEnd.size()) + "_input"));
            }
        }
    }
    const auto found = files->find(number);
    if (found == files->end())
        return std::nullopt;
    return found->second;
}

std::optional<SourceReading> KernelReadingSource::readDie(unsigned node, const DieSensor& die)
{
    if (!m_temperature || node >= kMaxNodes)
        return std::nullopt;
    const std::optional<std::filesystem::path> file = dieFileOf(node, die.number);
    if (!file)
        return std::nullopt;
    const UniqueFd fd = openAttribute(*file);
    const std::optional<long long> millidegrees = fd.valid() ? readMillidegrees(fd.get()) : std::nullopt;
    if (!millidegrees) {
        // The driver may have been bound again under another folder.
        m_dieFiles[node].reset();
        return std::nullopt;
    }
    return SourceReading::kernelMillidegrees(*millidegrees);
}

std::optional<SourceReading> KernelReadingSource::read(const ProcessorFamily& /*row*/)
{
    if (!m_temperature)
        return std::nullopt;
    const std::optional<long long> millidegrees = m_temperature->millidegrees();
    if (!millidegrees)
        return std::nullopt;
    return SourceReading::kernelMillidegrees(*millidegrees);
}

}  // namespace veltaro
