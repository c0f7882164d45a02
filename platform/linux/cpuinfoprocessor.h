// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>

#include "processoridentity.h"

namespace veltaro {

// Processor 0 as the kernel describes it in `cpuInfoFile` (/proc/cpuinfo):
// "vendor_id", the signature packed from "cpu family", "model" and
// "stepping", and "model name". Empty when the file cannot be read, has no
// processor 0, or one of those figures is missing or does not fit the
// signature's fields; an empty name string is allowed.
std::optional<IdentifiedProcessor> readProcessorZero(const std::filesystem::path& cpuInfoFile);

}  // namespace veltaro
