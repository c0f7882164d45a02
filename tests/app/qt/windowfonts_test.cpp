// SPDX-License-Identifier: MIT
#include <QFontInfo>

#include <utility>

#include <gtest/gtest.h>

#include "windowfixture.h"

namespace veltaro {
namespace {

using WindowFontsTest = testing::WindowFixture;

// fontconfig resolves each face the window asks for to an installed one.
// On a machine with no proportional sans face the desktop's general font
// lands on a fixed-pitch face, and the credit line and the processor bar
// come out in a typewriter face a pixel short of their design.
TEST_F(WindowFontsTest, EveryTextResolvesToAProportionalFace)
{
    const std::pair<const char*, const QWidget*> texts[] = {
        {"dialog font", &window}, {"readout", window.lbltemp}, {"author", window.Label3}};
    for (const auto& [name, widget] : texts) {
        const QFontInfo face(widget->font());
        EXPECT_FALSE(face.fixedPitch()) << name << " resolves to " << face.family().toStdString();
    }
}

}  // namespace
}  // namespace veltaro
