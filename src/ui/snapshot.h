#pragma once

#include "core/jpeg_writer.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace quimo::ui {

// The screen pixels inside outer, the outer rectangle of window (title bar and frame included
// where they are drawn, and whatever lies on top of it), its full width and all but the bottom
// crop rows. Throws std::runtime_error when the window is too small to leave a picture.
QImage captureForegroundWindow(QWidget *window, const QRect &outer, quint16 crop);
// The same for the window's outer rectangle as it is now.
QImage captureForegroundWindow(QWidget *window, quint16 crop);

// The bottom crop of a window, from its outer rectangle at the moment of the click.
using CropRule = std::function<quint16(const QRect &outer)>;

// Captures window into its scratch picture and writes it as a JPEG picture to path, replacing an
// earlier one only once the new one is complete. The outer rectangle is read once, for the crop
// and the capture alike. displayName is the name the user is told when it fails. Throws on any
// failure; nothing is left half-written.
void saveSnapshot(QWidget *window, const CropRule &crop, QLabel *scratch, const QString &path,
                  const QString &displayName);
// The same for a window whose crop does not depend on its size.
void saveSnapshot(QWidget *window, quint16 crop, QLabel *scratch, const QString &path,
                  const QString &displayName);

// Encodes picture as JPEG and writes it to path, replacing an earlier file only once the new
// one is complete. Throws on any failure, with displayName as the name the user is told.
void writePicture(const QImage &picture, const QString &path, const QString &displayName);

// The picture of window as the program draws it, without a screen: the client area at its
// current size, all but the bottom crop rows. It equals the screen capture of the window where
// no window manager draws a frame.
QImage renderWindow(QWidget *window, quint16 crop);

// The picture's pixels as the JPEG encoder takes them: 24-bit RGB, rows from top to bottom.
quimo::RgbImage rgbImage(const QImage &picture);

// The bottom crop of a detail window: its outer height less the close button's top less 16
// rows, in 16 bits, taken at the moment of the click.
quint16 detailCrop(int outerHeight, int buttonTop);

} // namespace quimo::ui
