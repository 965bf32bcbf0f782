#include "core/Pictures.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <functional>

namespace vendalise {

namespace {

// Draws on a transparent square of `size` pixels (times the ratio on the
// device), in a 64 x 64 coordinate grid.
QPixmap draw(int size, qreal ratio, const std::function<void(QPainter&)>& paint) {
    const int pixels = qRound(size * ratio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(pixels / 64.0, pixels / 64.0);
        paint(painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// The pictures are drawn as vectors at the size and scale asked for, so
// that they stay sharp on a screen at 200 %.
class VectorIcon : public QIconEngine {
public:
    explicit VectorIcon(std::function<void(QPainter&)> paint) : paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const int side = std::min(size.width(), size.height());
        return draw(side, scale, [this, mode](QPainter& p) {
            // A disabled button shows its picture faded.
            if (mode == QIcon::Disabled)
                p.setOpacity(0.4);
            paint_(p);
        });
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QIconEngine* clone() const override { return new VectorIcon(paint_); }

private:
    std::function<void(QPainter&)> paint_;
};

QIcon icon(const std::function<void(QPainter&)>& paint) {
    return QIcon(new VectorIcon(paint));
}

void drawGlass(QPainter& p) {
    QPainterPath glass;
    glass.moveTo(16, 8);
    glass.lineTo(48, 8);
    glass.lineTo(43, 58);
    glass.lineTo(21, 58);
    glass.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.setBrush(QColor(230, 240, 250));
    p.drawPath(glass);
    QPainterPath drink;
    drink.moveTo(18.5, 22);
    drink.lineTo(45.5, 22);
    drink.lineTo(41.5, 56);
    drink.lineTo(22.5, 56);
    drink.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 170, 30));
    p.drawPath(drink);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(27, 18), 6, 5);
    p.drawEllipse(QPointF(37, 17), 7, 5);
}

void drawCoins(QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 10), 2));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(235, 195, 60));
        p.drawEllipse(QRectF(6, 46 - i * 8, 30, 12));
    }
    p.setBrush(QColor(110, 170, 90));
    p.setPen(QPen(QColor(40, 90, 40), 2));
    p.drawRect(QRectF(30, 14, 28, 40));
    p.drawEllipse(QPointF(44, 34), 7, 7);
}

} // namespace

QIcon stockPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(110, 70, 30), 3));
        p.setBrush(QColor(205, 155, 95));
        p.drawRect(QRectF(8, 22, 48, 36));
        p.setBrush(QColor(225, 180, 120));
        p.drawPolygon(QPolygonF({{8, 22}, {18, 8}, {46, 8}, {56, 22}}));
        p.drawLine(QPointF(32, 8), QPointF(32, 58));
    });
}

QIcon drinksRegisterPicture() {
    return icon(drawGlass);
}

QIcon materialRegisterPicture() {
    return icon(drawCoins);
}

QIcon backupPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(20, 30, 70), 2));
        p.setBrush(QColor(40, 70, 150));
        p.drawRoundedRect(QRectF(6, 6, 52, 52), 4, 4);
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(18, 6, 28, 18));
        p.setBrush(QColor(40, 70, 150));
        p.drawRect(QRectF(36, 9, 6, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(14, 32, 36, 26));
        p.setPen(QPen(QColor(150, 150, 170), 2));
        for (int y = 39; y <= 53; y += 7)
            p.drawLine(QPointF(19, y), QPointF(45, y));
    });
}

// The backup's disk, with an arrow turning back over it.
QIcon restorePicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(20, 30, 70), 2));
        p.setBrush(QColor(40, 70, 150));
        p.drawRoundedRect(QRectF(14, 14, 44, 44), 4, 4);
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(24, 14, 24, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(21, 37, 30, 21));
        p.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 34, 34), 90 * 16, 200 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 140, 60));
        p.drawPolygon(QPolygonF({QPointF(21, -2), QPointF(33, 4), QPointF(21, 11)}));
    });
}

QIcon inventoryPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 20), 3));
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(10, 8, 44, 52), 4, 4);
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(15, 14, 34, 42));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(24, 4, 16, 8));
        p.setPen(QPen(QColor(40, 40, 120), 2));
        for (int y = 22; y <= 50; y += 7) {
            p.drawLine(QPointF(19, y), QPointF(22, y));
            p.drawLine(QPointF(26, y), QPointF(45, y));
        }
    });
}

// A sheet with a bar chart: the figures of the Bilans window.
QIcon bilansPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 6, 48, 52));
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawLine(QPointF(14, 50), QPointF(50, 50));
        p.setPen(Qt::NoPen);
        const QColor colours[] = {QColor(40, 90, 170), QColor(200, 120, 30), QColor(40, 140, 70),
                                  QColor(170, 40, 40)};
        const double heights[] = {18, 30, 24, 36};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colours[i]);
            p.drawRect(QRectF(16 + i * 8.5, 50 - heights[i], 6.5, heights[i]));
        }
    });
}

QIcon printerPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(18, 6, 28, 20));
        p.setBrush(QColor(170, 170, 180));
        p.drawRoundedRect(QRectF(6, 24, 52, 24), 4, 4);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(16, 40, 32, 18));
        p.setPen(QPen(QColor(40, 40, 120), 2));
        for (int y = 46; y <= 54; y += 4)
            p.drawLine(QPointF(20, y), QPointF(44, y));
    });
}

QIcon basketPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 40, 20), 3));
        p.setBrush(QColor(200, 150, 80));
        p.drawPolygon(
            QPolygonF({QPointF(8, 26), QPointF(56, 26), QPointF(48, 56), QPointF(16, 56)}));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 8, 28, 36), 0, 180 * 16);
    });
}

QIcon programPicture() {
    return icon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x6f, 0xb3));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
        const QColor wicker(0x3c, 0x28, 0x14);
        p.setPen(QPen(wicker, 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(20, 16, 24, 28), 0, 180 * 16);
        p.setBrush(QColor(0xc8, 0x96, 0x50));
        p.drawPolygon(
            QPolygonF({QPointF(10, 30), QPointF(54, 30), QPointF(47, 54), QPointF(17, 54)}));
        p.setPen(QPen(wicker, 2));
        p.drawLine(QPointF(24, 36), QPointF(26, 50));
        p.drawLine(QPointF(32, 36), QPointF(32, 50));
        p.drawLine(QPointF(40, 36), QPointF(38, 50));
        p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 2));
        p.setBrush(QColor(0xf2, 0xc2, 0x30));
        p.drawEllipse(QPointF(48, 16), 9, 9);
        QFont font = p.font();
        font.setPixelSize(12);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(39, 7, 18, 18), Qt::AlignCenter, QStringLiteral("€"));
    });
}

QIcon exitPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(120, 20, 20), 3));
        p.setBrush(QColor(210, 50, 40));
        p.drawEllipse(QRectF(6, 6, 52, 52));
        p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 22), QPointF(42, 42));
        p.drawLine(QPointF(42, 22), QPointF(22, 42));
    });
}

QIcon correctionPicture() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 90, 160), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 20), QPointF(40, 20));
        p.drawLine(QPointF(27, 8), QPointF(27, 32));
        p.setPen(QPen(QColor(190, 50, 40), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(26, 48), QPointF(52, 48));
    });
}

QIcon sumPicture() {
    return icon([](QPainter& p) {
        QPainterPath sigma;
        sigma.moveTo(48, 12);
        sigma.lineTo(16, 12);
        sigma.lineTo(34, 32);
        sigma.lineTo(16, 52);
        sigma.lineTo(48, 52);
        p.setPen(QPen(QColor(50, 50, 50), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(sigma);
    });
}

QIcon statementPicture() {
    return icon([](QPainter& p) {
        drawCoins(p);
        p.setPen(QPen(QColor(40, 120, 40), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(46, 50), QPointF(46, 12));
        p.drawLine(QPointF(36, 22), QPointF(46, 12));
        p.drawLine(QPointF(56, 22), QPointF(46, 12));
    });
}

QPixmap bottlePicture(int size) {
    return draw(size, qApp->devicePixelRatio(), [](QPainter& p) {
        QPainterPath bottle;
        bottle.moveTo(27, 4);
        bottle.lineTo(37, 4);
        bottle.lineTo(37, 20);
        bottle.cubicTo(46, 26, 46, 30, 46, 36);
        bottle.lineTo(46, 60);
        bottle.lineTo(18, 60);
        bottle.lineTo(18, 36);
        bottle.cubicTo(18, 30, 18, 26, 27, 20);
        bottle.closeSubpath();
        p.setPen(QPen(QColor(20, 70, 30), 2));
        p.setBrush(QColor(50, 140, 70));
        p.drawPath(bottle);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(245, 235, 200));
        p.drawRect(QRectF(21, 38, 22, 14));
    });
}

QPixmap shirtPicture(int size) {
    return draw(size, qApp->devicePixelRatio(), [](QPainter& p) {
        const QPolygonF shirt({{22, 6},
                               {28, 10},
                               {36, 10},
                               {42, 6},
                               {60, 16},
                               {54, 28},
                               {48, 25},
                               {48, 58},
                               {16, 58},
                               {16, 25},
                               {10, 28},
                               {4, 16}});
        p.setPen(QPen(QColor(20, 40, 110), 2));
        p.setBrush(QColor(60, 110, 210));
        p.drawPolygon(shirt);
    });
}

} // namespace vendalise
