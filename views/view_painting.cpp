#include "views/view_painting.h"

#include <QFontMetrics>
#include <QString>

#include "views/view_setup.h"

QColor ArgbColor(std::uint32_t argb) { return QColor::fromRgba(argb); }

QColor OpaqueColor(std::uint32_t argb) { return QColor::fromRgb(argb | 0xFF000000u); }

void BeginViewPainter(QPainter &painter, QImage &image)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setFont(ViewFont());
}

void CopyPicture(QPainter &painter, const QImage &source)
{
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, source);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawSolidLine(QPainter &painter, Pixel a, Pixel b, std::uint32_t argb)
{
    painter.setPen(QPen(ArgbColor(argb), 0));
    if (a == b)
        painter.drawPoint(a.x, a.y);
    else
        painter.drawLine(a.x, a.y, b.x, b.y);
}

void DrawDisc(QPainter &painter, Pixel centre, int radius, std::uint32_t fill, std::uint32_t outline)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ArgbColor(outline), 1.0));
    painter.setBrush(ArgbColor(fill));
    // The pen straddles the path: half a pixel inside keeps the outline
    // within the square the disc is given.
    const double side = 2.0 * radius - 1.0;
    painter.drawEllipse(QRectF(centre.x - radius + 0.5, centre.y - radius + 0.5, side, side));
    painter.restore();
}

void DrawCross(QPainter &painter, Pixel at, std::uint32_t argb)
{
    DrawSolidLine(painter, Pixel{at.x - 2, at.y}, Pixel{at.x + 2, at.y}, argb);
    DrawSolidLine(painter, Pixel{at.x, at.y - 2}, Pixel{at.x, at.y + 2}, argb);
}

void DrawLabel(QPainter &painter, int x, int y, std::string_view text, std::uint32_t argb)
{
    if (text.empty())
        return;
    painter.setPen(OpaqueColor(argb));
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(x, y + metrics.ascent()),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
