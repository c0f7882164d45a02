// SPDX-License-Identifier: MIT
#include "sensorstartorder.h"

#include "configfileopener.h"
#include "configspacesource.h"
#include "cpuinfoprocessor.h"
#include "fallbackreadingsource.h"
#include "kernelreadingsource.h"
#include "linuxconfigspace.h"
#include "processorfamilies.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

// The registers through the configuration file: the kernel serialises its
// reads with every other user of configuration space.
std::unique_ptr<ReadingSource> registersThrough(std::unique_ptr<ConfigSpace> configSpace)
{
    if (!configSpace)
        return nullptr;
    return std::make_unique<ConfigSpaceSource>(std::move(configSpace), std::make_unique<UncontendedConfigSpaceLock>());
}

}  // namespace

ReadingWays readingWaysOf(const std::filesystem::path& procRoot)
{
    const std::optional<IdentifiedProcessor> processor = readProcessorZero(procRoot / "cpuinfo");
    if (!processor)
        return ReadingWays::KernelOrRegisters;
    const ProcessorVendor vendor = vendorOf(processor->vendor);
    if (vendor == ProcessorVendor::Other)
        return ReadingWays::None;
    // A processor the table does not hold has no registers the program
    // knows; the kernel's driver may still read it.
    const ProcessorFamily* row =
        findProcessorFamily(vendor, processorFamily(processor->signature), processorModel(processor->signature));
    if (row == nullptr)
        return ReadingWays::KernelOnly;
    // The configuration file is opened read-only, so no index can be
    // written through it, and the kernel keeps the root complex's pairs
    // for itself.
    return indexPairOf(row->thermalRegister) != nullptr ? ReadingWays::KernelOnly : ReadingWays::KernelOrRegisters;
}

std::unique_ptr<ReadingSource> createLinuxReadingSource(LinuxSensorSources sources)
{
    // No password is asked, and no register opened, for a reading that
    // the configuration file cannot give: the kernel's is the one way.
    if (readingWaysOf(sources.procRoot) != ReadingWays::KernelOrRegisters)
        return std::make_unique<KernelReadingSource>(sources.pciRoot, sources.procRoot);
    std::vector<FallbackReadingSource::Way> ways;
    ways.emplace_back([pciRoot = sources.pciRoot, procRoot = sources.procRoot] {
        return std::make_unique<KernelReadingSource>(pciRoot, procRoot);
    });
    // Root does not need the helper, and a helper that root starts would
    // open the same file with the same rights. Root opens it now, while
    // the source is made: the program gives up root before its window
    // starts, and the kernel shows the registers only to a descriptor
    // opened with root's rights.
    if (sources.runningAsRoot) {
        const auto configFileOf = [&](unsigned node) {
            return pciFunctionFolder(sources.pciRoot, nodeFunction(node)) / "config";
        };
        auto configSpace = std::make_unique<LinuxConfigSpace>(sources.pciRoot,
                                                              std::make_unique<EarlyConfigFileOpener>(configFileOf(0)));
        // The other nodes' functions too, for the readout's tooltip.
        for (unsigned node = 1; node < kMaxNodes; ++node)
            configSpace->holdFunction(nodeFunction(node), DirectConfigFileOpener().open(configFileOf(node)));
        auto direct = std::make_shared<std::unique_ptr<ConfigSpace>>(std::move(configSpace));
        ways.emplace_back([direct] { return registersThrough(std::move(*direct)); });
    } else {
        ways.emplace_back([helperDriver = std::move(sources.helperDriver)] {
            return registersThrough(helperDriver ? helperDriver() : nullptr);
        });
    }
    return std::make_unique<FallbackReadingSource>(std::move(ways));
}

}  // namespace veltaro
