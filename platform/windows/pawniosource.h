// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "configspacelock.h"
#include "pawnioexecutor.h"
#include "processoridentity.h"
#include "readingsource.h"

namespace veltaro {

// The processor's thermal registers through the signed PawnIO driver and
// the module for the processor's family, read from the program's folder:
// AMDFamily0F.bin for family 0Fh, AMDFamily10.bin for 10h to 16h and
// AMDFamily17.bin for 17h to 1Ah. Each module asks the processor itself
// at load and refuses any other family, and any maker but AMD: Hygon's
// processors read through the port driver or not at all.
//
// A register value comes from the module's own function for it, never
// from the configuration ports: F3xE4 from ioctl_get_thermtrip, F3xA4
// from ioctl_read_miscctl, D0F0xBC_xD820_0CA4 from ioctl_read_smu and
// the system management network from ioctl_read_smn. No module reads
// F3xFC, so the processor's own signature decides its family. Each call
// reaches configuration space and holds the configuration space lock.
class PawnIoSource final : public ReadingSource {
public:
    // The whole module file of that name; empty when there is none.
    using ModuleReader = std::function<std::optional<std::vector<std::uint8_t>>(const std::wstring& fileName)>;

    PawnIoSource(std::unique_ptr<PawnIoExecutor> executor, std::unique_ptr<ConfigSpaceLock> lock,
                 std::unique_ptr<ProcessorIdentity> identity, ModuleReader readModule);

    // Loads the family's module into the executor and reads node 0's
    // thermal register through it. False: a processor with no module, a
    // module file missing, the driver refused it or could not be opened,
    // or the module answered no read.
    bool start() override;
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily& row) override;

    // The nodes whose function 3 the module answers for, asked the first
    // time; a reading behind the root complex is node 0's alone.
    unsigned nodeCount(const ProcessorFamily& row) override;
    std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node) override;
    // Node 0's die sensors, through the family 17h module's
    // ioctl_read_smn.
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override;

private:
    enum class Module { None, Family0Fh, Family10h, Family17h };

    std::optional<std::uint32_t> call(const char* function, std::initializer_list<std::uint64_t> in);
    std::optional<std::uint32_t> readRegister(const ProcessorFamily& row, unsigned node);

    std::unique_ptr<PawnIoExecutor> m_executor;
    std::unique_ptr<ConfigSpaceLock> m_lock;
    std::unique_ptr<ProcessorIdentity> m_identity;
    ModuleReader m_readModule;
    Module m_module = Module::None;
    std::optional<unsigned> m_nodes;
};

}  // namespace veltaro
