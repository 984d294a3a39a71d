#include "ui/widgets/glyphary.h"

#include "engine/files/data_files.h"

#include <QPixmap>
#include <QtEndian>

namespace {

constexpr char Magic[8] = {'K', 'Y', 'T', 'G', 'L', 'Y', 'P', 'H'};
constexpr quint32 FormatVersion = 1;
// Far more than any toolbar needs; a damaged count must not drive allocation.
constexpr quint32 MaxImages = 1000;

bool ReadUint32(const QByteArray &data, qsizetype &pos, quint32 &value)
{
    if (data.size() - pos < 4)
        return false;
    value = qFromLittleEndian<quint32>(data.constData() + pos);
    pos += 4;
    return true;
}

} // namespace

QList<QIcon> &ToolbarImages()
{
    static QList<QIcon> images;
    return images;
}

bool LoadGlyphary(const QString &path, QList<QIcon> &images, QString &error)
{
    images.clear();
    std::string bytes, why;
    if (ReadWholeFile(path.toStdString(), bytes, &why, SmallFileLimit) != ReadStatus::Ok) {
        error = why.empty() ? QStringLiteral("Cannot open file \"%1\".").arg(path) : QString::fromStdString(why);
        return false;
    }
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QString notImageList = QStringLiteral("\"%1\" is not a valid image list.").arg(path);
    qsizetype pos = sizeof Magic;
    quint32 version = 0, count = 0;
    if (data.size() < pos || !data.startsWith(QByteArray(Magic, sizeof Magic))
        || !ReadUint32(data, pos, version) || version != FormatVersion
        || !ReadUint32(data, pos, count) || count < GlypharyMinImages || count > MaxImages) {
        error = notImageList;
        return false;
    }
    QList<QIcon> loaded;
    for (quint32 i = 0; i < count; ++i) {
        quint32 length = 0;
        if (!ReadUint32(data, pos, length) || data.size() - pos < static_cast<qsizetype>(length)) {
            error = notImageList;
            return false;
        }
        QPixmap pixmap;
        if (!pixmap.loadFromData(reinterpret_cast<const uchar *>(data.constData() + pos), length, "PNG")) {
            error = notImageList;
            return false;
        }
        pos += length;
        loaded.append(QIcon(pixmap));
    }
    images = loaded;
    return true;
}
