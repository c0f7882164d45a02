// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include "fakeservices.h"
#include "frmmain.h"

namespace veltaro::testing {

// The Qt window on recording fakes of every platform service.
class WindowFixture : public ::testing::Test, protected FakeServices {
protected:
    Frmmain window{services(), QStringLiteral("Veltaro")};
};

}  // namespace veltaro::testing
