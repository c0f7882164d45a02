#include "windowfonts.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <cmath>

namespace veltaro {

namespace {

constexpr int kDialogLinePx = 13;
constexpr double kDesignDpi = 96.0;
constexpr double kPointsPerInch = 72.0;

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
    font.setPixelSize(static_cast<int>(std::lround(designPoints * kDesignDpi / kPointsPerInch)));
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

}  // namespace veltaro
