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

const QColor kGreen(0x2e, 0x9e, 0x5b);
const QColor kDarkGreen(0x1d, 0x6b, 0x3c);
const QColor kNavy(0x1f, 0x3a, 0x68);
const QColor kRed(0xc6, 0x3b, 0x32);
const QColor kAmber(0xe8, 0xa2, 0x3a);
const QColor kGrey(0x5f, 0x67, 0x70);

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

void badge(QPainter& p, const QColor& colour, bool plus)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(17.5, 17.5), 6, 6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
    if (plus)
        p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
}

void document(QPainter& p)
{
    QPainterPath page;
    page.moveTo(4, 2);
    page.lineTo(13, 2);
    page.lineTo(18, 7);
    page.lineTo(18, 21);
    page.lineTo(4, 21);
    page.closeSubpath();
    p.setPen(QPen(kGrey, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(13, 2), QPointF(13, 7));
    p.drawLine(QPointF(13, 7), QPointF(18, 7));
    p.setPen(QPen(QColor(0xb8, 0xc0, 0xc8), 1.2));
    for (qreal y : {10.0, 13.0, 16.0})
        p.drawLine(QPointF(7, y), QPointF(15, y));
}

void camera(QPainter& p)
{
    p.setPen(QPen(kNavy, 1.2));
    p.setBrush(QColor(0xe9, 0xee, 0xf5));
    p.drawRoundedRect(QRectF(2, 7, 17, 12), 2, 2);
    p.setBrush(kNavy);
    p.drawRect(QRectF(7, 4.5, 6, 3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10.5, 13), 3.6, 3.6);
    p.setBrush(kNavy);
    p.drawEllipse(QPointF(10.5, 13), 1.6, 1.6);
}

const struct {
    const char* file;
    Drawing draw;
} kIcons[] = {
    {"novo.png",
     [](QPainter& p) {
         document(p);
         badge(p, kGreen, true);
     }},
    {"alterar.png",
     [](QPainter& p) {
         document(p);
         p.save();
         p.translate(16, 9);
         p.rotate(45);
         p.setPen(QPen(kDarkGreen, 1));
         p.setBrush(kAmber);
         p.drawRect(QRectF(-2, 0, 4, 11));
         p.setBrush(QColor(0xf3, 0xd9, 0xb1));
         QPainterPath tip;
         tip.moveTo(-2, 11);
         tip.lineTo(2, 11);
         tip.lineTo(0, 14.5);
         tip.closeSubpath();
         p.drawPath(tip);
         p.setBrush(kRed);
         p.drawRect(QRectF(-2, -2.5, 4, 2.5));
         p.restore();
     }},
    {"excluir.png",
     [](QPainter& p) {
         p.setPen(QPen(kGrey, 1.2));
         p.setBrush(QColor(0xf1, 0xf3, 0xf5));
         QPainterPath bin;
         bin.moveTo(5, 7);
         bin.lineTo(19, 7);
         bin.lineTo(17.5, 21.5);
         bin.lineTo(6.5, 21.5);
         bin.closeSubpath();
         p.drawPath(bin);
         p.setBrush(kRed);
         p.drawRoundedRect(QRectF(3.5, 4, 17, 3), 1, 1);
         p.drawRect(QRectF(9.5, 2, 5, 2));
         p.setPen(QPen(kGrey, 1.2, Qt::SolidLine, Qt::RoundCap));
         for (qreal x : {9.0, 12.0, 15.0})
             p.drawLine(QPointF(x, 10), QPointF(x, 19));
     }},
    {"localizar.png",
     [](QPainter& p) {
         p.setPen(QPen(kNavy, 2.4, Qt::SolidLine, Qt::RoundCap));
         p.setBrush(QColor(0xdc, 0xee, 0xfb));
         p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
         p.setPen(QPen(kNavy, 3.6, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(15, 15), QPointF(21, 21));
         p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
         p.drawArc(QRectF(6, 6, 8, 8), 100 * 16, 70 * 16);
     }},
    {"confirmar.png",
     [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawEllipse(QPointF(12, 12), 10, 10);
         p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
         QPainterPath check;
         check.moveTo(7, 12.5);
         check.lineTo(10.5, 16);
         check.lineTo(17, 8.5);
         p.setBrush(Qt::NoBrush);
         p.drawPath(check);
     }},
    {"cancelar.png",
     [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         p.drawEllipse(QPointF(12, 12), 10, 10);
         p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(8, 8), QPointF(16, 16));
         p.drawLine(QPointF(16, 8), QPointF(8, 16));
     }},
    {"fechar.png",
     [](QPainter& p) {
         p.setPen(QPen(kGrey, 1.2));
         p.setBrush(QColor(0xf1, 0xf3, 0xf5));
         p.drawRect(QRectF(3, 2.5, 11, 19));
         p.setBrush(QColor(0xa8, 0x6b, 0x3c));
         QPainterPath door;
         door.moveTo(3, 2.5);
         door.lineTo(10, 5);
         door.lineTo(10, 23);
         door.lineTo(3, 21.5);
         door.closeSubpath();
         p.drawPath(door);
         p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
         p.drawLine(QPointF(13, 12), QPointF(21.5, 12));
         p.setBrush(Qt::NoBrush);
         QPainterPath head;
         head.moveTo(18.5, 8.5);
         head.lineTo(22, 12);
         head.lineTo(18.5, 15.5);
         p.drawPath(head);
     }},
    {"adicionafoto.png",
     [](QPainter& p) {
         camera(p);
         badge(p, kGreen, true);
     }},
    {"removefoto.png",
     [](QPainter& p) {
         camera(p);
         badge(p, kRed, false);
     }},
};

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
    bool ok = save(splash(), folder, "splash.png") && save(programIcon(), folder, "vorlu.png");
    for (const auto& entry : kIcons)
        ok = save(icon(entry.draw), folder, entry.file) && ok;
    return ok ? 0 : 1;
}
