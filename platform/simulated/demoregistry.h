// SPDX-License-Identifier: MIT
#pragma once

#include "computername.h"
#include "inmemoryregistry.h"

namespace veltaro {

// The hardware description of the demo's simulated family 10h machine
// (four logical processors, model 4, stepping 2, like DemoNorthbridge). Its
// processor says in its name that it is simulated. Connections are
// accepted for the local computer's name, as `localComputer` gives it.
class DemoRegistry final : public InMemoryRegistry {
public:
    explicit DemoRegistry(ComputerName& localComputer);
};

}  // namespace veltaro
