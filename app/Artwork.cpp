#include "app/Artwork.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

QPixmap answerSheetPicture(int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0); // drawn on a 64 x 64 grid

    painter.setPen(QPen(QColor(0x2f, 0x4f, 0x7f), 2));
    painter.setBrush(QColor(0xfb, 0xf8, 0xef));
    painter.drawRoundedRect(QRectF(10, 4, 44, 56), 4, 4);

    const int filled[] = {1, 3, 0, 2};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const bool chosen = filled[row] == column;
            painter.setPen(QPen(QColor(0x2f, 0x4f, 0x7f), 1.2));
            painter.setBrush(chosen ? QColor(0x2f, 0x4f, 0x7f) : Qt::white);
            painter.drawEllipse(QPointF(20 + column * 8, 14 + row * 10), 3, 3);
        }
    }

    QPainterPath tick;
    tick.moveTo(34, 50);
    tick.lineTo(42, 58);
    tick.lineTo(60, 36);
    painter.setPen(QPen(QColor(0x1f, 0x9d, 0x55), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(answerSheetPicture(size));
    return icon;
}

QFrame* makeDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
