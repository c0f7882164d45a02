#include "configfileopener.h"

#include <fcntl.h>

namespace veltaro {

UniqueFd DirectConfigFileOpener::open(const std::filesystem::path& configFile)
{
    return UniqueFd(::open(configFile.c_str(), O_RDONLY | O_CLOEXEC));
}

}  // namespace veltaro
