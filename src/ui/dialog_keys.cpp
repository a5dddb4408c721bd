#include "ui/dialog_keys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quimo::ui {

DialogKeys::DialogKeys(QWidget *window)
    : QObject(window)
    , window_(window)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        button->installEventFilter(this);
    }
}

QAbstractButton *DialogKeys::buttonForAccelerator(QChar letter) const
{
    const QChar wanted = letter.toLower();
    for (QAbstractButton *button : window_->findChildren<QAbstractButton *>()) {
        const QString text = button->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size() && text.at(amp + 1).toLower() == wanted &&
            button->isVisible() && button->isEnabled()) {
            return button;
        }
    }
    return nullptr;
}

bool DialogKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto *key = static_cast<QKeyEvent *>(event);
    auto *focus = qobject_cast<QWidget *>(watched);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;

    switch (key->key()) {
    case Qt::Key_Escape:
        if (cancel_) {
            cancel_->click();
        }
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Up: {
        if (modifiers != Qt::NoModifier) {
            return false;
        }
        const bool forward = key->key() == Qt::Key_Right || key->key() == Qt::Key_Down;
        QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                      forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::sendEvent(focus, &tab);
        return true;
    }
    default:
        break;
    }

    // Alt+letter reaches the buttons as a Qt shortcut already; this adds the plain letter.
    if ((modifiers == Qt::NoModifier || modifiers == Qt::AltModifier) && key->text().size() == 1 &&
        key->text().at(0).isLetter()) {
        if (QAbstractButton *button = buttonForAccelerator(key->text().at(0))) {
            button->click();
            return true;
        }
    }
    return false;
}

} // namespace quimo::ui
