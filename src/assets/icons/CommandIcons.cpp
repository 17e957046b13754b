#include "assets/icons/CommandIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace vorlu::assets {

namespace {

// One palette for every icon, so the set reads as one family.
struct Palette {
    QColor ink;     // outlines
    QColor paper;   // sheet and card fills
    QColor green;
    QColor red;
    QColor amber;
    QColor navy;
    QColor steel;
    QColor glass;
};

QColor grey(const QColor& colour)
{
    // Lightened luminance: a disabled icon recedes without losing its shape.
    const int luma = qGray(colour.rgb());
    const int light = 120 + luma * 110 / 255;
    return QColor(light, light, light, colour.alpha());
}

Palette paletteFor(bool enabled)
{
    Palette p{QColor(0x2b, 0x33, 0x3d), QColor(0xff, 0xff, 0xff), QColor(0x2e, 0x9e, 0x5b), QColor(0xc6, 0x3b, 0x32),
              QColor(0xe8, 0xa2, 0x3a), QColor(0x1f, 0x3a, 0x68), QColor(0x8a, 0x95, 0xa3), QColor(0xcf, 0xe6, 0xf7)};
    if (!enabled) {
        for (QColor* c : {&p.ink, &p.paper, &p.green, &p.red, &p.amber, &p.navy, &p.steel, &p.glass})
            *c = grey(*c);
    }
    return p;
}

QPen outline(const QColor& colour, qreal width = 1.5)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A round badge at the lower right, the common mark of "add", "confirm" and "cancel".
void badge(QPainter& p, const QColor& fill, const QPointF& centre, qreal radius)
{
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

void plusMark(QPainter& p, const QPointF& c, qreal arm, qreal width = 2.0)
{
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void minusMark(QPainter& p, const QPointF& c, qreal arm, qreal width = 2.0)
{
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
}

void checkMark(QPainter& p, const QPointF& c, qreal s, qreal width)
{
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(c.x() - 0.55 * s, c.y() + 0.02 * s);
    path.lineTo(c.x() - 0.15 * s, c.y() + 0.42 * s);
    path.lineTo(c.x() + 0.6 * s, c.y() - 0.4 * s);
    p.drawPath(path);
}

void crossMark(QPainter& p, const QPointF& c, qreal s, qreal width)
{
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - s, c.y() - s), QPointF(c.x() + s, c.y() + s));
    p.drawLine(QPointF(c.x() - s, c.y() + s), QPointF(c.x() + s, c.y() - s));
}

// A sheet of paper with a folded corner.
void sheet(QPainter& p, const Palette& c)
{
    QPainterPath page;
    page.moveTo(5, 2.5);
    page.lineTo(14.5, 2.5);
    page.lineTo(19, 7);
    page.lineTo(19, 21.5);
    page.lineTo(5, 21.5);
    page.closeSubpath();
    p.setPen(outline(c.ink));
    p.setBrush(c.paper);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(14.5, 2.5);
    fold.lineTo(14.5, 7);
    fold.lineTo(19, 7);
    p.setBrush(Qt::NoBrush);
    p.drawPath(fold);
    p.setPen(outline(c.steel, 1.2));
    for (qreal y : {10.5, 13.5, 16.5})
        p.drawLine(QPointF(8, y), QPointF(y < 15 ? 16 : 13, y));
}

// A framed picture: sky, sun and a hill.
void picture(QPainter& p, const Palette& c)
{
    const QRectF frame(2.5, 4.5, 17, 13.5);
    p.setPen(outline(c.ink));
    p.setBrush(c.glass);
    p.drawRoundedRect(frame, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(c.amber);
    p.drawEllipse(QPointF(7.5, 8.8), 1.8, 1.8);
    QPainterPath hill;
    hill.moveTo(3.3, 17.2);
    hill.lineTo(9, 11.5);
    hill.lineTo(12.5, 14.5);
    hill.lineTo(15, 12.5);
    hill.lineTo(18.7, 16);
    hill.lineTo(18.7, 17.2);
    hill.closeSubpath();
    p.setBrush(c.green);
    p.drawPath(hill);
}

void drawNovo(QPainter& p, const Palette& c)
{
    sheet(p, c);
    badge(p, c.green, QPointF(17, 17), 5.5);
    plusMark(p, QPointF(17, 17), 2.8);
}

void drawAlterar(QPainter& p, const Palette& c)
{
    sheet(p, c);
    // A pencil lying across the sheet, tip at the lower left.
    p.save();
    p.translate(13.5, 13.5);
    p.rotate(45);
    const QRectF body(-2.4, -9.5, 4.8, 13);
    p.setPen(outline(c.ink, 1.3));
    p.setBrush(c.amber);
    p.drawRect(body);
    p.setBrush(c.red);
    p.drawRect(QRectF(-2.4, -11.5, 4.8, 2));
    QPainterPath tip;
    tip.moveTo(-2.4, 3.5);
    tip.lineTo(2.4, 3.5);
    tip.lineTo(0, 8);
    tip.closeSubpath();
    p.setBrush(QColor(0xf3, 0xd9, 0xb1));
    p.drawPath(tip);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    QPainterPath lead;
    lead.moveTo(-0.9, 6.3);
    lead.lineTo(0.9, 6.3);
    lead.lineTo(0, 8);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

void drawExcluir(QPainter& p, const Palette& c)
{
    // A waste bin with its lid.
    p.setPen(outline(c.ink));
    p.setBrush(c.red);
    QPainterPath bin;
    bin.moveTo(5.5, 7.5);
    bin.lineTo(18.5, 7.5);
    bin.lineTo(17.2, 21.5);
    bin.lineTo(6.8, 21.5);
    bin.closeSubpath();
    p.drawPath(bin);
    p.setPen(outline(Qt::white, 1.3));
    for (qreal x : {9.3, 12.0, 14.7})
        p.drawLine(QPointF(x, 10.5), QPointF(x, 18.5));
    p.setPen(outline(c.ink));
    p.setBrush(c.steel);
    p.drawRoundedRect(QRectF(3.5, 4.5, 17, 3), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(9.5, 4.5), QPointF(10, 2.5));
    p.drawLine(QPointF(10, 2.5), QPointF(14, 2.5));
    p.drawLine(QPointF(14, 2.5), QPointF(14.5, 4.5));
}

void drawLocalizar(QPainter& p, const Palette& c)
{
    // A magnifying glass.
    p.setPen(QPen(c.navy, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.8, 14.8), QPointF(20.5, 20.5));
    p.setPen(outline(c.navy, 2.2));
    p.setBrush(c.glass);
    p.drawEllipse(QPointF(10, 10), 6.8, 6.8);
    p.setPen(outline(Qt::white, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 8, 8), 100 * 16, 70 * 16);
}

void drawConfirmar(QPainter& p, const Palette& c)
{
    p.setPen(outline(c.ink, 1.2));
    p.setBrush(c.green);
    p.drawEllipse(QPointF(12, 12), 9.8, 9.8);
    checkMark(p, QPointF(12, 12), 8, 2.6);
}

void drawCancelar(QPainter& p, const Palette& c)
{
    p.setPen(outline(c.ink, 1.2));
    p.setBrush(c.red);
    p.drawEllipse(QPointF(12, 12), 9.8, 9.8);
    crossMark(p, QPointF(12, 12), 4.2, 2.6);
}

void drawFechar(QPainter& p, const Palette& c)
{
    // An open door with an arrow leaving through it.
    p.setPen(outline(c.ink));
    p.setBrush(c.paper);
    p.drawRect(QRectF(4.5, 2.5, 11, 19));
    QPainterPath door;
    door.moveTo(4.5, 2.5);
    door.lineTo(11, 5);
    door.lineTo(11, 23);
    door.lineTo(4.5, 21.5);
    door.closeSubpath();
    p.setBrush(c.navy);
    p.drawPath(door);
    p.setPen(Qt::NoPen);
    p.setBrush(c.amber);
    p.drawEllipse(QPointF(9.3, 13), 0.9, 0.9);
    p.setPen(QPen(c.red, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(13.5, 12), QPointF(21, 12));
    QPainterPath head;
    head.moveTo(18, 8.8);
    head.lineTo(21.3, 12);
    head.lineTo(18, 15.2);
    p.drawPath(head);
}

void drawAdicionaFoto(QPainter& p, const Palette& c)
{
    picture(p, c);
    badge(p, c.green, QPointF(17.5, 17.5), 5.3);
    plusMark(p, QPointF(17.5, 17.5), 2.7);
}

void drawRemoveFoto(QPainter& p, const Palette& c)
{
    picture(p, c);
    badge(p, c.red, QPointF(17.5, 17.5), 5.3);
    minusMark(p, QPointF(17.5, 17.5), 2.7);
}

class CommandIconEngine final : public QIconEngine {
public:
    explicit CommandIconEngine(CommandIcon which) : which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        drawCommandIcon(*painter, rect, which_, mode != QIcon::Disabled);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // Drawn at the device's own pixel count, so nothing is ever scaled up from a bitmap.
        const QSize device(qMax(1, qRound(size.width() * scale)), qMax(1, qRound(size.height() * scale)));
        QPixmap pixmap(device);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), device), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new CommandIconEngine(which_); }
    QString key() const override { return QStringLiteral("vorlu-command-icon"); }

private:
    CommandIcon which_;
};

} // namespace

void drawCommandIcon(QPainter& painter, const QRectF& target, CommandIcon which, bool enabled)
{
    const Palette colours = paletteFor(enabled);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Every icon is drawn on a 24 x 24 grid, centred in the target.
    const qreal side = std::min(target.width(), target.height());
    painter.translate(target.center().x() - side / 2, target.center().y() - side / 2);
    painter.scale(side / 24.0, side / 24.0);
    switch (which) {
    case CommandIcon::Novo: drawNovo(painter, colours); break;
    case CommandIcon::Alterar: drawAlterar(painter, colours); break;
    case CommandIcon::Excluir: drawExcluir(painter, colours); break;
    case CommandIcon::Localizar: drawLocalizar(painter, colours); break;
    case CommandIcon::Confirmar: drawConfirmar(painter, colours); break;
    case CommandIcon::Cancelar: drawCancelar(painter, colours); break;
    case CommandIcon::Fechar: drawFechar(painter, colours); break;
    case CommandIcon::AdicionaFoto: drawAdicionaFoto(painter, colours); break;
    case CommandIcon::RemoveFoto: drawRemoveFoto(painter, colours); break;
    }
    painter.restore();
}

QIcon commandIcon(CommandIcon which)
{
    return QIcon(new CommandIconEngine(which));
}

} // namespace vorlu::assets
