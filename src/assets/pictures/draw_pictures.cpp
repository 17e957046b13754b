// Draws the program's pictures: the splash background, the command and photo button icons and
// the program icon. The PNG files it writes are kept in this folder; run it again after a
// change here:  vorlu_draw_pictures <this folder>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

const QColor kDarkGreen(0x1d, 0x6b, 0x3c);

bool save(const QImage& image, const QString& folder, const char* name)
{
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A leaf whose base is at the origin, pointing up, length `length`.
QPainterPath leaf(qreal length, qreal width)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(width, -length * 0.25, width * 0.8, -length * 0.8, 0, -length);
    path.cubicTo(-width * 0.8, -length * 0.8, -width, -length * 0.25, 0, 0);
    return path;
}

QImage splash()
{
    // Only the part from (36, 25) to (491, 281) shows through the window.
    QImage image(785, 473, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient ground(0, 0, 0, 473);
    ground.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    ground.setColorAt(0.55, QColor(0xf6, 0xfb, 0xf7));
    ground.setColorAt(1.0, QColor(0xe4, 0xf3, 0xe8));
    p.fillRect(image.rect(), ground);

    // A faint plate with leaves behind the right half of the text.
    const QPointF plate(398, 142);
    p.setPen(Qt::NoPen);
    QRadialGradient rim(plate, 120);
    rim.setColorAt(0.0, QColor(0xdf, 0xf0, 0xe4, 150));
    rim.setColorAt(1.0, QColor(0xdf, 0xf0, 0xe4, 0));
    p.setBrush(rim);
    p.drawEllipse(plate, 120, 120);
    p.setPen(QPen(QColor(0x2e, 0x9e, 0x5b, 40), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(plate, 92, 92);
    p.setPen(QPen(QColor(0x2e, 0x9e, 0x5b, 28), 2));
    p.drawEllipse(plate, 70, 70);
    p.setPen(Qt::NoPen);
    const struct {
        qreal angle, length, width;
        QColor colour;
    } leaves[] = {
        {-35, 96, 34, QColor(0x2e, 0x9e, 0x5b, 46)},
        {10, 110, 38, QColor(0x5c, 0xb8, 0x6f, 40)},
        {55, 88, 30, QColor(0x1d, 0x6b, 0x3c, 34)},
    };
    for (const auto& l : leaves) {
        p.save();
        p.translate(plate + QPointF(0, 40));
        p.rotate(l.angle);
        p.setBrush(l.colour);
        p.drawPath(leaf(l.length, l.width));
        p.setPen(QPen(QColor(255, 255, 255, 90), 1.5));
        p.drawLine(QPointF(0, -4), QPointF(0, -l.length + 10));
        p.setPen(Qt::NoPen);
        p.restore();
    }

    // Two soft waves along the bottom of the window.
    QPainterPath wave;
    wave.moveTo(0, 250);
    wave.cubicTo(180, 205, 330, 290, 520, 232);
    wave.cubicTo(640, 196, 720, 220, 785, 210);
    wave.lineTo(785, 473);
    wave.lineTo(0, 473);
    wave.closeSubpath();
    p.setBrush(QColor(0x5c, 0xb8, 0x6f, 38));
    p.drawPath(wave);
    QPainterPath crest;
    crest.moveTo(0, 268);
    crest.cubicTo(200, 228, 340, 300, 540, 250);
    crest.cubicTo(650, 222, 730, 240, 785, 232);
    p.setPen(QPen(QColor(0x1f, 0x3a, 0x68, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(crest);

    // A thin rule under the two title lines.
    QLinearGradient rule(60, 0, 470, 0);
    rule.setColorAt(0.0, QColor(0x2e, 0x9e, 0x5b, 0));
    rule.setColorAt(0.5, QColor(0x2e, 0x9e, 0x5b, 150));
    rule.setColorAt(1.0, QColor(0x2e, 0x9e, 0x5b, 0));
    p.fillRect(QRectF(60, 110, 410, 1.5), rule);
    return image;
}

using Drawing = std::function<void(QPainter&)>;

QImage icon(const Drawing& draw, int size = 24)
{
    // Drawn on a 24-unit grid, at any size.
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    return image;
}

QImage programIcon()
{
    return icon(
        [](QPainter& p) {
            QLinearGradient fill(0, 0, 0, 24);
            fill.setColorAt(0, QColor(0x3f, 0xb4, 0x6c));
            fill.setColorAt(1, kDarkGreen);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
            p.save();
            p.translate(12, 19.5);
            p.rotate(18);
            p.setBrush(QColor(255, 255, 255, 235));
            p.drawPath(leaf(15, 6.5));
            p.setPen(QPen(kDarkGreen, 0.9));
            p.drawLine(QPointF(0, -1), QPointF(0, -12.5));
            p.restore();
        },
        64);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok = save(splash(), folder, "splash.png") && save(programIcon(), folder, "vorlu.png");
    return ok ? 0 : 1;
}
