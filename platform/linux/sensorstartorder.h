// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "configspace.h"
#include "readingsource.h"

namespace veltaro {

// Where the Linux program finds its registers, and what it may use.
struct LinuxSensorSources {
    std::filesystem::path pciRoot = "/sys/bus/pci";
    std::filesystem::path procRoot = "/proc";
    bool runningAsRoot = false;
    // The configuration file whose descriptor comes from the privileged
    // helper (the password prompt); made only when it is the way left.
    std::function<std::unique_ptr<ConfigSpace>()> helperDriver;
};

// Where the Linux program takes its readings from, trying at start:
//   1. the kernel's own sensor reading (k8temp, k10temp), which needs no
//      rights, when its hwmon folder is there and reads;
//   2. run as root: the registers through the configuration file, opened
//      directly when the source is made (before the program gives up root);
//   3. anyone else: the configuration file opened by the helper.
// Ways 2 and 3 are left out where processor 0 of <procRoot>/cpuinfo keeps
// its temperature behind the root complex (family 15h models 60h-7Fh,
// family 17h and later), which the configuration file cannot reach, and
// where it is a processor the table does not hold: the kernel's is then
// the only way, and the source is the kernel's alone.
std::unique_ptr<ReadingSource> createLinuxReadingSource(LinuxSensorSources sources);

// Which ways can give the reading of processor 0 of <procRoot>/cpuinfo,
// by the table: the kernel's driver and the configuration file, the
// kernel's driver only (the sensor lies behind the root complex, or the
// table does not hold the AMD or Hygon processor, which the kernel's
// driver may still read), or none (another maker's processor). A
// processor that cannot be asked may be an early family 0Fh part: both.
enum class ReadingWays { KernelOrRegisters, KernelOnly, None };
ReadingWays readingWaysOf(const std::filesystem::path& procRoot);

}  // namespace veltaro
