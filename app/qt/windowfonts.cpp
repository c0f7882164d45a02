// SPDX-License-Identifier: MIT
#include "windowfonts.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "windowdesign.h"

namespace veltaro {

namespace {

constexpr int kDialogLinePx = 13;

}  // namespace

QFont dialogFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    int pixelSize = kDialogLinePx;
    font.setPixelSize(pixelSize);
    while (pixelSize > 6 && QFontMetrics(font).height() > kDialogLinePx)
        font.setPixelSize(--pixelSize);
    return font;
}

QFont designFont(const QString& family, double designPoints, bool bold, bool underline)
{
    QFont font(family);
    font.setPixelSize(design::fontPixels(designPoints, design::kDesignDpi));
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

}  // namespace veltaro
