#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QPointer>

class QWidget;

namespace quimo::ui {

// The keyboard rules the program's users know from their dialogs, for one window:
// a button's accelerator letter clicks it with or without Alt, the arrow keys move the focus
// along the tab order like Tab and Shift+Tab, and Escape clicks the window's cancel button or,
// when it has none, does nothing at all. Enter and Space on a button are left to Qt.
class DialogKeys final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DialogKeys)

public:
    // Watches every button of window; call after the window's buttons exist.
    explicit DialogKeys(QWidget *window);

    // nullptr: Escape does nothing.
    void setCancelButton(QAbstractButton *button) { cancel_ = button; }

    // The button whose caption marks letter (as in "S&chließen" for C), or nullptr.
    QAbstractButton *buttonForAccelerator(QChar letter) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    QPointer<QAbstractButton> cancel_;
};

} // namespace quimo::ui
