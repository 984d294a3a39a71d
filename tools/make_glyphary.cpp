// Draws the toolbar images and writes them as the program's image list file
// "Glyphary.dll": "KYTGLYPH", uint32 version 1, uint32 count, then per image a
// uint32 length and PNG bytes (all little-endian). The images are addressed by
// position; the table below says what each one shows.
//
// Usage: make_glyphary <output file>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int Size = 32;

const QColor Ink(40, 40, 48);
const QColor Sky(20, 30, 80);
const QColor Sea(50, 110, 200);
const QColor Land(70, 160, 70);
const QColor Gold(240, 190, 30);
const QColor Red(210, 40, 40);
const QColor Panel(60, 90, 200);
const QColor Paper(250, 250, 245);

using Glyph = std::function<void(QPainter &)>;

QPen Pen(const QColor &colour, double width = 2.0)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Satellite(QPainter &p, QPointF c, double s)
{
    p.save();
    p.translate(c);
    p.rotate(-30);
    p.setPen(Pen(Ink, 1));
    p.setBrush(Panel);
    p.drawRect(QRectF(-8 * s, -2.5 * s, 5 * s, 5 * s));
    p.drawRect(QRectF(3 * s, -2.5 * s, 5 * s, 5 * s));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(-3 * s, -3 * s, 6 * s, 6 * s));
    p.restore();
}

void Star(QPainter &p, QPointF c, double r, const QColor &colour)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double rr = (i % 2 == 0) ? r : r * 0.42;
        const QPointF q(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (i == 0)
            path.moveTo(q);
        else
            path.lineTo(q);
    }
    path.closeSubpath();
    p.setPen(Pen(colour.darker(140), 1));
    p.setBrush(colour);
    p.drawPath(path);
}

void Globe(QPainter &p, QRectF r)
{
    p.setPen(Pen(Ink, 1.5));
    p.setBrush(Sea);
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(QColor(220, 235, 255), 1));
    const QPointF c = r.center();
    p.drawEllipse(QRectF(c.x() - r.width() / 5, r.top(), r.width() * 2 / 5, r.height()));
    p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
    p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
}

void Pin(QPainter &p, QPointF tip, double s, const QColor &colour)
{
    QPainterPath path;
    path.moveTo(tip);
    path.cubicTo(tip + QPointF(-9 * s, -9 * s), tip + QPointF(-7 * s, -20 * s), tip + QPointF(0, -20 * s));
    path.cubicTo(tip + QPointF(7 * s, -20 * s), tip + QPointF(9 * s, -9 * s), tip);
    p.setPen(Pen(Ink, 1));
    p.setBrush(colour);
    p.drawPath(path);
    p.setBrush(Paper);
    p.drawEllipse(tip + QPointF(0, -13.5 * s), 3 * s, 3 * s);
}

void Document(QPainter &p, QRectF r)
{
    p.setPen(Pen(Ink, 1.5));
    p.setBrush(Paper);
    p.drawRect(r);
    p.setPen(Pen(QColor(120, 120, 130), 1.5));
    for (double y = r.top() + 5; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
}

void Letter(QPainter &p, QRectF r, const QString &text, const QColor &colour, int pixels)
{
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(pixels);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void Constellation(QPainter &p)
{
    const QPointF points[] = {{5, 24}, {12, 14}, {20, 18}, {27, 7}};
    p.setPen(Pen(QColor(120, 170, 255), 1.5));
    for (int i = 0; i < 3; ++i)
        p.drawLine(points[i], points[i + 1]);
    for (const QPointF &q : points)
        Star(p, q, 3.5, Gold);
}

void Clock(QPainter &p, QPointF c, double r)
{
    p.setPen(Pen(Ink, 2));
    p.setBrush(Paper);
    p.drawEllipse(c, r, r);
    p.drawLine(c, c + QPointF(0, -r * 0.7));
    p.drawLine(c, c + QPointF(r * 0.5, 0));
}

void Table(QPainter &p, QRectF r, int rows, int columns)
{
    p.setPen(Pen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawRect(r);
    for (int i = 1; i < rows; ++i) {
        const double y = r.top() + r.height() * i / rows;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    for (int j = 1; j < columns; ++j) {
        const double x = r.left() + r.width() * j / columns;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
}

void CheckBox(QPainter &p, bool checked)
{
    p.setPen(Pen(Ink, 2));
    p.setBrush(Paper);
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 3, 3);
    if (checked) {
        p.setPen(Pen(Land.darker(120), 3.5));
        p.drawPolyline(QPolygonF({{9, 16}, {14, 22}, {24, 9}}));
    }
}

std::vector<Glyph> Glyphs()
{
    return {
        // 0 satellite list
        [](QPainter &p) { Document(p, {3, 3, 18, 26}); Satellite(p, {21, 20}, 1.1); },
        // 1 observer location
        [](QPainter &p) { Pin(p, {16, 29}, 1.3, Red); },
        // 2 map view
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Sea); p.drawRect(QRectF(2, 7, 28, 18));
            p.setPen(Qt::NoPen); p.setBrush(Land);
            p.drawEllipse(QRectF(5, 9, 8, 9)); p.drawEllipse(QRectF(9, 16, 5, 7));
            p.drawEllipse(QRectF(16, 9, 11, 7)); p.drawEllipse(QRectF(17, 15, 5, 8));
        },
        // 3 sky view
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Sky); p.drawEllipse(QRectF(2, 2, 28, 28));
            Star(p, {11, 11}, 4, Gold); Star(p, {21, 17}, 3, Paper); Star(p, {13, 22}, 2.5, Paper);
        },
        // 4 globe view
        [](QPainter &p) { Globe(p, {3, 3, 26, 26}); },
        // 5 prediction window
        [](QPainter &p) { Document(p, {3, 3, 20, 26}); Clock(p, {22, 22}, 7); },
        // 6 tabular results
        [](QPainter &p) { Table(p, {3, 5, 26, 22}, 4, 3); },
        // 7 analysis window
        [](QPainter &p) {
            p.setPen(Pen(Ink, 3)); p.setBrush(QColor(200, 225, 255));
            p.drawEllipse(QRectF(4, 4, 16, 16)); p.drawLine(QPointF(18, 18), QPointF(28, 28));
        },
        // 8 satellite information
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Panel); p.drawEllipse(QRectF(3, 3, 26, 26));
            Letter(p, {3, 3, 26, 26}, "i", Paper, 20);
        },
        // 9 UTC / local time
        [](QPainter &p) { Clock(p, {16, 16}, 13); },
        // 10 Sun, Moon and planet data
        [](QPainter &p) {
            p.setPen(Pen(Gold.darker(130), 1)); p.setBrush(Gold); p.drawEllipse(QRectF(3, 3, 17, 17));
            p.setBrush(QColor(200, 200, 200)); p.drawEllipse(QRectF(17, 17, 12, 12));
        },
        // 11 reset observer location
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(QColor(230, 180, 120));
            p.drawPolygon(QPolygonF({{4, 16}, {16, 4}, {28, 16}, {25, 16}, {25, 28}, {7, 28}, {7, 16}}));
            p.setBrush(Panel.darker(120)); p.drawRect(QRectF(13, 19, 6, 9));
        },
        // 12 close
        [](QPainter &p) {
            p.setPen(Pen(Red.darker(130), 1)); p.setBrush(Red); p.drawEllipse(QRectF(3, 3, 26, 26));
            p.setPen(Pen(Paper, 3.5)); p.drawLine(QPointF(11, 11), QPointF(21, 21));
            p.drawLine(QPointF(21, 11), QPointF(11, 21));
        },
        // 13 satellite visibility circle
        [](QPainter &p) {
            p.setPen(Pen(Panel, 2)); p.setBrush(Qt::NoBrush); p.drawEllipse(QRectF(2, 2, 28, 28));
            Satellite(p, {16, 16}, 1.0);
        },
        // 14 observer visibility circle
        [](QPainter &p) {
            p.setPen(Pen(Red, 2)); p.setBrush(Qt::NoBrush); p.drawEllipse(QRectF(2, 2, 28, 28));
            Pin(p, {16, 24}, 0.8, Red);
        },
        // 15 ground tracks
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Sea); p.drawRect(QRectF(2, 5, 28, 22));
            QPainterPath track; track.moveTo(3, 16);
            for (int x = 3; x <= 29; ++x) track.lineTo(x, 16 - 8 * std::sin((x - 3) * 2 * M_PI / 26));
            p.setPen(Pen(Gold, 2.5)); p.setBrush(Qt::NoBrush); p.drawPath(track);
        },
        // 16 grids
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Sea); p.drawRect(QRectF(2, 5, 28, 22));
            p.setPen(Pen(Paper, 1));
            for (int x = 9; x < 30; x += 7) p.drawLine(QPointF(x, 5), QPointF(x, 27));
            for (int y = 11; y < 27; y += 6) p.drawLine(QPointF(2, y), QPointF(30, y));
        },
        // 17 constellations
        [](QPainter &p) { Constellation(p); },
        // 18 star names
        [](QPainter &p) { Star(p, {11, 20}, 9, Gold); Letter(p, {14, 0, 18, 16}, "A", Ink, 14); },
        // 19 constellation names
        [](QPainter &p) { Constellation(p); Letter(p, {0, 0, 14, 14}, "A", Ink, 13); },
        // 20 fainter stars hidden (magnitude down)
        [](QPainter &p) {
            Star(p, {13, 17}, 11, Gold);
            p.setPen(Pen(Red, 3.5)); p.drawLine(QPointF(21, 6), QPointF(29, 6));
        },
        // 21 fainter stars shown (magnitude up)
        [](QPainter &p) {
            Star(p, {13, 17}, 11, Gold);
            p.setPen(Pen(Land.darker(120), 3.5)); p.drawLine(QPointF(21, 6), QPointF(29, 6));
            p.drawLine(QPointF(25, 2), QPointF(25, 10));
        },
        // 22 main list
        [](QPainter &p) {
            Document(p, {4, 3, 24, 26});
            p.setPen(Qt::NoPen); p.setBrush(Panel);
            for (int y = 7; y < 27; y += 4) p.drawRect(QRectF(6, y - 1, 2, 2));
        },
        // 23 select none
        [](QPainter &p) { CheckBox(p, false); },
        // 24 select all
        [](QPainter &p) { CheckBox(p, true); },
        // 25 visible satellites
        [](QPainter &p) {
            QPainterPath eye; eye.moveTo(2, 16); eye.quadTo(16, 2, 30, 16); eye.quadTo(16, 30, 2, 16);
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Paper); p.drawPath(eye);
            p.setBrush(Panel); p.drawEllipse(QPointF(16, 16), 6, 6);
            p.setBrush(Ink); p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
        },
        // 26 transit
        [](QPainter &p) {
            p.setPen(Pen(Gold.darker(130), 1)); p.setBrush(Gold); p.drawEllipse(QRectF(4, 4, 24, 24));
            p.setPen(Pen(Ink, 1.5)); p.drawLine(QPointF(2, 22), QPointF(30, 10));
            p.setBrush(Ink); p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
        },
        // 27 ground track search
        [](QPainter &p) {
            Globe(p, {3, 3, 26, 26});
            p.setPen(Pen(Gold, 2.5)); p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(-4, 8, 36, 30), 30 * 16, 120 * 16);
        },
        // 28 decay
        [](QPainter &p) {
            Satellite(p, {12, 9}, 0.9);
            p.setPen(Pen(Red, 3)); p.drawLine(QPointF(20, 12), QPointF(26, 26));
            p.drawPolyline(QPolygonF({{21, 25}, {26, 26}, {28, 21}}));
            p.setPen(Pen(Land.darker(120), 2)); p.drawLine(QPointF(2, 29), QPointF(30, 29));
        },
        // 29 line predictions
        [](QPainter &p) {
            p.setPen(Pen(Ink, 2.5));
            for (int y = 7; y < 30; y += 6) p.drawLine(QPointF(4, y), QPointF(28, y));
        },
        // 30 tabular predictions
        [](QPainter &p) { Table(p, {3, 3, 26, 26}, 5, 2); Clock(p, {24, 24}, 6); },
        // 31 print
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Paper); p.drawRect(QRectF(9, 3, 14, 10));
            p.setBrush(QColor(150, 150, 160)); p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
            p.setBrush(Paper); p.drawRect(QRectF(9, 19, 14, 10));
        },
        // 32 Iridium flares
        [](QPainter &p) {
            p.setPen(Pen(Gold.darker(120), 1.5)); p.setBrush(Gold);
            p.drawPolygon(QPolygonF({{18, 2}, {7, 18}, {15, 18}, {12, 30}, {25, 12}, {17, 12}}));
        },
        // 33 save
        [](QPainter &p) {
            p.setPen(Pen(Ink, 1.5)); p.setBrush(Panel);
            p.drawPolygon(QPolygonF({{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}}));
            p.setBrush(Paper); p.drawRect(QRectF(9, 4, 12, 8)); p.drawRect(QRectF(8, 17, 16, 11));
        },
        // 34 satellite file
        [](QPainter &p) {
            p.setPen(Pen(Gold.darker(150), 1.5)); p.setBrush(Gold);
            p.drawPolygon(QPolygonF({{2, 8}, {12, 8}, {15, 11}, {30, 11}, {30, 28}, {2, 28}}));
            Satellite(p, {17, 19}, 0.9);
        },
    };
}

void PutUint32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const std::vector<Glyph> glyphs = Glyphs();
    QByteArray out("KYTGLYPH");
    PutUint32(out, 1);
    PutUint32(out, static_cast<quint32>(glyphs.size()));
    for (const Glyph &draw : glyphs) {
        QImage image(Size, Size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return 1;
        PutUint32(out, static_cast<quint32>(png.size()));
        out.append(png);
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
        return 1;
    return 0;
}
