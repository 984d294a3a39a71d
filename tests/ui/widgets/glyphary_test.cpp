#include "ui/widgets/glyphary.h"

#include "ui/qt_app.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void PutUint32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

QByteArray Png()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray ImageList(quint32 count, quint32 version = 1)
{
    QByteArray out("KYTGLYPH");
    PutUint32(out, version);
    PutUint32(out, count);
    const QByteArray png = Png();
    for (quint32 i = 0; i < count; ++i) {
        PutUint32(out, png.size());
        out.append(png);
    }
    return out;
}

QString Write(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("Glyphary.dll");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

TEST(Glyphary, TheBuiltFileHoldsEveryToolbarImage)
{
    TestApplication();
    QList<QIcon> images;
    QString error;
    ASSERT_TRUE(LoadGlyphary(KYT_TEST_PROGRAM_DIR "/Glyphary.dll", images, error))
        << error.toStdString();
    ASSERT_GE(images.size(), GlypharyMinImages);
    for (const QIcon &icon : images)
        EXPECT_FALSE(icon.pixmap(32, 32).isNull());
}

TEST(Glyphary, DamagedOrMissingFilesAreRefusedWithAReason)
{
    TestApplication();
    QTemporaryDir dir;
    QList<QIcon> images;
    QString error;

    EXPECT_FALSE(LoadGlyphary(dir.filePath("none.dll"), images, error));
    EXPECT_FALSE(error.isEmpty());

    QByteArray truncated = ImageList(35);
    truncated.chop(10);
    const std::pair<const char *, QByteArray> damaged[] = {
        {"too few images", ImageList(34)},
        {"unknown version", ImageList(35, 2)},
        {"cut short", truncated},
        {"not an image list", QByteArray("MZ\x90\x00 a code library", 19)},
        {"huge count", [] { QByteArray b("KYTGLYPH"); PutUint32(b, 1); PutUint32(b, 0xFFFFFFFFu); return b; }()},
    };
    for (const auto &[what, bytes] : damaged) {
        error.clear();
        images = {QIcon()};
        EXPECT_FALSE(LoadGlyphary(Write(dir, bytes), images, error)) << what;
        EXPECT_TRUE(images.isEmpty()) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
    }

    QByteArray badPng = ImageList(35);
    badPng[16 + 4 + 1] = 'X'; // first image's PNG signature
    EXPECT_FALSE(LoadGlyphary(Write(dir, badPng), images, error));

    EXPECT_TRUE(LoadGlyphary(Write(dir, ImageList(35)), images, error));
    EXPECT_EQ(images.size(), 35);
}
