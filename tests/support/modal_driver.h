#pragma once

// Drives nested modal windows from inside their own event loops, the way a user's keyboard
// would: a test queues steps, starts the driver and then calls exec() on the outermost window.

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace quimo::testing {

// Steps run one after the other, each once the modal window on top is ready for it. The poll
// that runs a step schedules the next poll first, so the steps go on inside any modal run the
// step starts. After the deadline every modal window still open is rejected, so a test that
// expected a window to close fails instead of hanging.
class ModalDriver final : public QObject
{
    Q_DISABLE_COPY_MOVE(ModalDriver)

public:
    using Ready = std::function<bool(QWidget *top)>;
    using Act = std::function<void(QWidget *top)>;

    explicit ModalDriver(int timeoutMs = 10000)
        : timeoutMs_(timeoutMs)
    {
        qApp->installEventFilter(this);
    }
    ~ModalDriver() override { qApp->removeEventFilter(this); }

    // A step that runs once the top modal window is active and has a focus widget.
    void then(Act act)
    {
        steps_.append({[](QWidget *top) { return isActiveWithFocus(top); }, std::move(act)});
    }

    void then(Ready ready, Act act) { steps_.append({std::move(ready), std::move(act)}); }

    // Presses key on the focused widget of the top modal window, as the keyboard does. Each
    // press is logged as "window/focus widget" as they stood just before it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        then([this, key, modifiers](QWidget *top) {
            QWidget *focus = QApplication::focusWidget();
            presses_.append(top->objectName() + QLatin1Char('/') + focus->objectName());
            QTest::keyClick(focus, Qt::Key(key), modifiers);
        });
    }

    // Moves the focus to the named child of the top modal window.
    void focus(const QString &name)
    {
        then([name](QWidget *top) {
            if (QWidget *child = top->findChild<QWidget *>(name)) {
                child->setFocus(Qt::OtherFocusReason);
            }
        });
    }

    // Closes the top modal window as its close box would.
    void closeTop()
    {
        then([](QWidget *top) { top->close(); });
    }

    void start()
    {
        deadline_ = QDeadlineTimer(timeoutMs_);
        schedule();
    }

    bool timedOut() const { return timedOut_; }
    bool allStepsRun() const { return next_ == steps_.size(); }
    const QStringList &presses() const { return presses_; }
    // Object names of the dialogs that were shown, in order.
    const QStringList &shownDialogs() const { return shown_; }

    static bool isActiveWithFocus(QWidget *top)
    {
        QWidget *focus = QApplication::focusWidget();
        return top && top->isVisible() && top->isActiveWindow() && focus && focus->window() == top;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            if (dialog && dialog->isWindow()) {
                shown_.append(dialog->objectName());
            }
        }
        return false;
    }

private:
    struct Step
    {
        Ready ready;
        Act act;
    };

    void schedule()
    {
        QTimer::singleShot(10, this, [this] { poll(); });
    }

    void poll()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (!timedOut_ && deadline_.hasExpired()) {
            timedOut_ = true;
            qWarning("ModalDriver: gave up at step %lld of %lld", qlonglong(next_),
                     qlonglong(steps_.size()));
        }
        if (timedOut_) {
            if (auto *dialog = qobject_cast<QDialog *>(top)) {
                dialog->reject();
                schedule();
            }
            return;
        }
        if (next_ < steps_.size() && top && steps_[next_].ready(top)) {
            const Act act = steps_[next_].act;
            ++next_;
            schedule(); // before acting: the act may start a modal run of its own
            act(top);
            return;
        }
        if (next_ < steps_.size() || top) {
            schedule();
        }
    }

    int timeoutMs_;
    QDeadlineTimer deadline_;
    QList<Step> steps_;
    qsizetype next_ = 0;
    bool timedOut_ = false;
    QStringList presses_;
    QStringList shown_;
};

} // namespace quimo::testing
