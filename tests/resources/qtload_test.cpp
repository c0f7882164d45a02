// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <utility>

namespace veltaro::testing {
namespace {

QString resource(const char* name)
{
    return QStringLiteral(VELTARO_RESOURCES_DIR "/") + QString::fromLatin1(name);
}

struct LoadCase {
    const char* name;
    const char* file;
    QByteArray format;
    int images;
    int side;  // of the first image
};

// The program hands the pictures to Qt's own GIF and ICO readers; this
// checks that those readers accept them as written.
TEST(PicturesInQt, ReadersAcceptEveryPicture)
{
    const LoadCase rows[] = {
        {"program_icon", "veltaro.ico", "ico", 1, 32},
        {"desktop_icon", "veltaro.png", "png", 1, 32},
        {"emblem", "emblem.gif", "gif", 1, 100},
        {"envelope_pointer", "envelope.ico", "ico", 2, 32},
        {"program_icon_2x", "veltaro@2x.ico", "ico", 1, 64},
        {"emblem_2x", "emblem@2x.gif", "gif", 1, 200},
        {"envelope_pointer_2x", "envelope@2x.ico", "ico", 1, 64},
        {"desktop_icon_16", "veltaro-16.png", "png", 1, 16},
        {"desktop_icon_24", "veltaro-24.png", "png", 1, 24},
        {"desktop_icon_48", "veltaro-48.png", "png", 1, 48},
        {"desktop_icon_64", "veltaro-64.png", "png", 1, 64},
        {"desktop_icon_128", "veltaro-128.png", "png", 1, 128},
        {"desktop_icon_256", "veltaro-256.png", "png", 1, 256},
    };
    for (const LoadCase& row : rows) {
        SCOPED_TRACE(row.name);
        QImageReader reader(resource(row.file));
        EXPECT_EQ(reader.format(), row.format);
        EXPECT_EQ(reader.imageCount(), row.images);
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(row.side, row.side));
        EXPECT_TRUE(image.hasAlphaChannel());
    }
}

// The icon theme's PNGs at the window icon's two sizes show exactly the
// program icon, pixel for pixel, see-through parts included.
TEST(PicturesInQt, DesktopIconIsTheProgramIcon)
{
    const std::pair<const char*, const char*> pairs[] = {{"veltaro.ico", "veltaro.png"},
                                                         {"veltaro@2x.ico", "veltaro-64.png"}};
    for (const auto& [icoFile, pngFile] : pairs) {
        SCOPED_TRACE(pngFile);
        const QImage ico = QImage(resource(icoFile)).convertToFormat(QImage::Format_ARGB32);
        const QImage png = QImage(resource(pngFile)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(ico.isNull());
        ASSERT_EQ(png.size(), ico.size());
        int clear = 0;
        for (int y = 0; y < ico.height(); ++y) {
            for (int x = 0; x < ico.width(); ++x) {
                const QRgb expected = qAlpha(ico.pixel(x, y)) == 0 ? 0u : ico.pixel(x, y);
                const QRgb actual = qAlpha(png.pixel(x, y)) == 0 ? 0u : png.pixel(x, y);
                ASSERT_EQ(actual, expected) << "at " << x << ", " << y;
                clear += qAlpha(actual) == 0 ? 1 : 0;
            }
        }
        EXPECT_GT(clear, 0) << "the icon has see-through corners";
    }
}

TEST(PicturesInQt, EmblemIsSeeThroughAroundItsSquareOnly)
{
    const QImage emblem(resource("emblem.gif"));
    ASSERT_FALSE(emblem.isNull());
    struct Probe {
        int x;
        int y;
        int alpha;
    };
    const Probe probes[] = {
        {0, 0, 0},     {12, 50, 0},   {50, 12, 0},   {87, 50, 0},   {50, 87, 0},   {99, 99, 0},
        {13, 13, 255}, {86, 13, 255}, {13, 86, 255}, {86, 86, 255}, {50, 50, 255},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(::testing::Message() << p.x << ", " << p.y);
        EXPECT_EQ(qAlpha(emblem.pixel(p.x, p.y)), p.alpha);
    }
}

}  // namespace
}  // namespace veltaro::testing
