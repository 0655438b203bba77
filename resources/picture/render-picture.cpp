// Renders the picture behind the main window, a 24-bit bitmap of 597 x 400
// pixels, into the binary PPM file the program carries:
//
//   cmake --build build --target render_picture
//   build/resources/render_picture resources/picture/kelvane-picture.ppm
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

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

QImage renderPicture()
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
    return picture;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_picture OUTPUT.ppm\n");
        return 2;
    }
    const QImage picture = renderPicture().convertToFormat(QImage::Format_RGB888);
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PPM")) {
        std::fprintf(stderr, "render_picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
