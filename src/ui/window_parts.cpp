#include "ui/window_parts.h"

#include "ui/application.h"
#include "ui/pictures.h"

#include <QLabel>
#include <QPushButton>

namespace quimo::ui {

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text,
                        const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(true);
    return button;
}

QPushButton *makeCloseButton(QWidget *parent, const QString &name, const QRect &geometry)
{
    QPushButton *button = makeButton(parent, name, QStringLiteral("S&chlie\u00dfen"), geometry);
    button->setIcon(doorIcon());
    button->setIconSize(QSize(18, 18));
    return button;
}

QLabel *makeScratchImage(QWidget *parent, const QRect &geometry)
{
    auto *image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(geometry);
    image->hide();
    return image;
}

QLabel *makeNotice(QWidget *parent, const QString &name, QPoint topLeft, int pixelSize)
{
    auto *notice = new QLabel(kAuthorNotice, parent);
    notice->setObjectName(name);
    notice->setFont(layoutFont(QStringLiteral("Arial"), pixelSize));
    notice->move(topLeft);
    notice->adjustSize();
    return notice;
}

void setWhiteBackground(QWidget *window)
{
    QPalette white = window->palette();
    white.setColor(QPalette::Window, Qt::white);
    window->setPalette(white);
    window->setAutoFillBackground(true);
}

} // namespace quimo::ui
