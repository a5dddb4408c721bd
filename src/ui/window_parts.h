#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace quimo::ui {

// The pieces the program's windows share, so that every window looks and behaves alike.

// A push button that Enter clicks while it has the focus.
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text,
                        const QRect &geometry);

// "S&chließen" with the door picture.
QPushButton *makeCloseButton(QWidget *parent, const QString &name, const QRect &geometry);

// The invisible scratch picture into which a window's snapshot is captured.
QLabel *makeScratchImage(QWidget *parent, const QRect &geometry);

// The one-line author's notice in Arial, sized to its text.
QLabel *makeNotice(QWidget *parent, const QString &name, QPoint topLeft, int pixelSize);

void setWhiteBackground(QWidget *window);

} // namespace quimo::ui
