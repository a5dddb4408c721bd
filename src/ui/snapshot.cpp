#include "ui/snapshot.h"

#include "core/jpeg_writer.h"
#include "core/safe_file.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstring>
#include <stdexcept>

namespace quimo::ui {

namespace {

const char *const kTooSmall = "Das Fenster ist zu klein, um als Bild gespeichert zu werden";

} // namespace

QImage captureForegroundWindow(QWidget *window, const QRect &outer, quint16 crop)
{
    const int height = outer.height() - int(crop);
    if (outer.width() <= 0 || height <= 0) {
        throw std::runtime_error(kTooSmall);
    }
    QScreen *screen = window->screen();
    if (!screen) {
        throw std::runtime_error("Der Bildschirminhalt l\u00e4sst sich nicht lesen");
    }
    const QPoint origin = outer.topLeft() - screen->geometry().topLeft();
    const QPixmap grabbed = screen->grabWindow(0, origin.x(), origin.y(), outer.width(), height);

    // Exactly the window's width and the rows above the crop, also where the window reaches
    // beyond the screen's edge.
    QImage picture(outer.width(), height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.drawPixmap(QPoint(0, 0), grabbed);
    painter.end();
    return picture;
}

QImage captureForegroundWindow(QWidget *window, quint16 crop)
{
    return captureForegroundWindow(window, window->frameGeometry(), crop);
}

void saveSnapshot(QWidget *window, quint16 crop, QLabel *scratch, const QString &path,
                  const QString &displayName)
{
    saveSnapshot(
        window, [crop](const QRect &) { return crop; }, scratch, path, displayName);
}

void saveSnapshot(QWidget *window, const CropRule &crop, QLabel *scratch, const QString &path,
                  const QString &displayName)
{
    const QRect outer = window->frameGeometry();
    const QImage picture = captureForegroundWindow(window, outer, crop(outer));
    if (scratch) {
        scratch->setPixmap(QPixmap::fromImage(picture));
    }
    writePicture(picture, path, displayName);
}

void writePicture(const QImage &picture, const QString &path, const QString &displayName)
{
    const std::vector<std::uint8_t> jpeg = encodeJpeg(rgbImage(picture));
    writeFileReplacing(QFile::encodeName(path).toStdString(), displayName.toStdString(), jpeg);
}

QImage renderWindow(QWidget *window, quint16 crop)
{
    const int height = window->height() - int(crop);
    if (window->width() <= 0 || height <= 0) {
        throw std::runtime_error(kTooSmall);
    }
    QImage picture(window->width(), height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    window->render(&picture, QPoint(), QRegion(0, 0, window->width(), height));
    return picture;
}

RgbImage rgbImage(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    RgbImage image;
    image.width = rgb.width();
    image.height = rgb.height();
    const auto rowBytes = std::size_t(rgb.width()) * 3;
    image.pixels.resize(rowBytes * std::size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(image.pixels.data() + rowBytes * std::size_t(y), rgb.constScanLine(y),
                    rowBytes);
    }
    return image;
}

quint16 detailCrop(int outerHeight, int buttonTop)
{
    return quint16(quint16(outerHeight) - quint16(buttonTop) - 16);
}

} // namespace quimo::ui
