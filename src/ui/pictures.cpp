#include "ui/pictures.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

// The resources live in a static library, whose registration the linker may drop unless it is
// referenced; the macro has to stand outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quimo::ui {

namespace {

constexpr int iconSize = 18;

// Colours of the classic 16-colour palette, so the door looks like its neighbours on the
// old-style buttons.
const QColor paletteBlack(0, 0, 0);
const QColor paletteMaroon(128, 0, 0);
const QColor paletteGreen(0, 128, 0);
const QColor paletteOlive(128, 128, 0);
const QColor paletteGray(128, 128, 128);
const QColor paletteLime(0, 255, 0);
const QColor paletteYellow(255, 255, 0);
const QColor paletteWhite(255, 255, 255);

QImage transparentImage()
{
    QImage image(iconSize, iconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// An open door seen from the front: the dark frame, the light doorway, the brown door leaf
// swung inwards and a green arrow leading out.
QImage doorImage()
{
    QImage image = transparentImage();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Frame and lit doorway.
    p.fillRect(QRect(1, 1, 12, 16), paletteBlack);
    p.fillRect(QRect(2, 2, 10, 14), paletteYellow);

    // The door leaf, hinged on the left and swung towards the viewer, so its free edge
    // looks taller than the frame.
    const QPolygon leaf({QPoint(2, 2), QPoint(7, 0), QPoint(7, 17), QPoint(2, 15)});
    p.setPen(paletteMaroon);
    p.setBrush(paletteOlive);
    p.drawPolygon(leaf);
    p.setPen(paletteBlack);
    p.drawPoint(6, 9);

    // The arrow: a shaft from the doorway and a head pointing out to the right.
    p.setPen(Qt::NoPen);
    p.setBrush(paletteGreen);
    p.drawRect(QRect(9, 8, 5, 3));
    p.drawPolygon(QPolygon({QPoint(13, 5), QPoint(17, 9), QPoint(13, 13)}));
    p.setPen(paletteLime);
    p.drawLine(9, 8, 13, 8);
    return image;
}

// The disabled look of old button pictures: every drawn pixel grey, with a white relief
// one pixel down and to the right.
QImage greyedImage(const QImage &normal)
{
    QImage image = transparentImage();
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            if (qAlpha(normal.pixel(x, y)) == 0) {
                continue;
            }
            if (x + 1 < iconSize && y + 1 < iconSize) {
                image.setPixelColor(x + 1, y + 1, paletteWhite);
            }
        }
    }
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            const QRgb pixel = normal.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            // Dark parts of the picture become grey; the light ones vanish into the relief.
            if (qGray(pixel) < 160) {
                image.setPixelColor(x, y, paletteGray);
            } else {
                image.setPixelColor(x, y, paletteWhite);
            }
        }
    }
    return image;
}

QImage checkMarkImage()
{
    QImage image = transparentImage();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor(0, 160, 0), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawPolyline(QPolygonF({QPointF(3.0, 9.5), QPointF(7.0, 13.5), QPointF(15.0, 4.0)}));
    return image;
}

} // namespace

QIcon doorIcon()
{
    const QImage normal = doorImage();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(normal), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(greyedImage(normal)), QIcon::Disabled);
    return icon;
}

QIcon checkMarkIcon()
{
    return QIcon(QPixmap::fromImage(checkMarkImage()));
}

QPixmap logoPixmap()
{
    registerResources();
    return QPixmap(":/logo.jpg");
}

QIcon applicationIcon()
{
    registerResources();
    return QIcon(":/quimo-auswertung.png");
}

} // namespace quimo::ui
