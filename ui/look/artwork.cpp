#include "ui/look/look.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kelvane {

namespace {

constexpr QSize pictureSize(597, 400);

const QColor deepNavy(4, 10, 38);
const QColor navy(10, 28, 72);
const QColor teal(0, 150, 160);
const QColor blue(30, 80, 200);

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(alpha);
    return color;
}

void paintBase(QPainter &painter, const QRect &area)
{
    QLinearGradient base(area.topLeft(), area.bottomRight());
    base.setColorAt(0.0, navy);
    base.setColorAt(0.55, deepNavy);
    base.setColorAt(1.0, QColor(2, 20, 40));
    painter.fillRect(area, base);
}

void paintGlow(QPainter &painter, QPointF centre, qreal radius, const QColor &color, int alpha)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, withAlpha(color, alpha));
    glow.setColorAt(1.0, withAlpha(color, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
}

// A soft band rising from lower left to upper right, brightest along its middle.
void paintBand(QPainter &painter, qreal startX, qreal width, const QColor &color, int alpha)
{
    const qreal rise = pictureSize.height();
    QPainterPath band;
    band.moveTo(startX, rise);
    band.lineTo(startX + width, rise);
    band.lineTo(startX + width + rise * 0.9, 0);
    band.lineTo(startX + rise * 0.9, 0);
    band.closeSubpath();

    QLinearGradient across(QPointF(startX, rise), QPointF(startX + width, rise));
    across.setColorAt(0.0, withAlpha(color, 0));
    across.setColorAt(0.5, withAlpha(color, alpha));
    across.setColorAt(1.0, withAlpha(color, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(across);
    painter.drawPath(band);
}

void paintHairlines(QPainter &painter)
{
    painter.setPen(QPen(withAlpha(teal, 28), 1.0));
    for (int x = -300; x < pictureSize.width(); x += 46)
        painter.drawLine(QPointF(x, pictureSize.height()),
                         QPointF(x + pictureSize.height() * 0.9, 0));
}

} // namespace

QPixmap backgroundPicture()
{
    // Opaque 24-bit colour, so nothing of the window behind it shows through.
    QImage picture(pictureSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRect area(QPoint(0, 0), pictureSize);
    paintBase(painter, area);
    // The bands keep clear of the lower right, where teal text sits.
    paintBand(painter, -420, 220, teal, 64);
    paintBand(painter, -200, 140, blue, 60);
    paintBand(painter, 0, 150, teal, 40);
    paintHairlines(painter);
    paintGlow(painter, QPointF(500, 30), 230, teal, 70);
    paintGlow(painter, QPointF(40, 420), 260, blue, 60);
    painter.end();
    // Handed over rather than copied.
    return QPixmap::fromImage(std::move(picture));
}

QIcon appIcon()
{
    return QIcon(QStringLiteral(":/kelvane/icons/kelvane.png"));
}

} // namespace kelvane
