#include "ui/window_placement.h"

#include <QEvent>
#include <QObject>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace quimo::ui {

namespace {

// A window manager adds its frame only after the window is mapped, and Qt learns the frame's
// size some time later without telling the widget. So the fit is checked again on activation,
// on moves and resizes, and a few times during the first second after showing.
class Placement final : public QObject
{
public:
    Placement(QWidget *window, QSize outer)
        : QObject(window)
        , window_(window)
        , outer_(outer)
    {
        window->installEventFilter(this);
        window->resize(outer);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            fitted_ = QSize(-1, -1);
            fit();
            for (const int delay : {0, 50, 150, 400, 1000}) {
                QTimer::singleShot(delay, this, [this] {
                    if (window_->isVisible()) {
                        fit();
                    }
                });
            }
            break;
        case QEvent::WindowActivate:
        case QEvent::Move:
        case QEvent::Resize:
            if (window_->isVisible()) {
                fit();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void fit()
    {
        const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
        if (frame == fitted_) {
            return; // the user may resize the window freely once it is placed
        }
        fitted_ = frame;
        const QSize client = outer_ - frame;
        window_->resize(client);
        if (const QScreen *screen = window_->screen()) {
            const QRect area = screen->geometry();
            window_->move(area.x() + (area.width() - outer_.width()) / 2,
                          area.y() + (area.height() - outer_.height()) / 2);
        }
    }

    QWidget *window_;
    QSize outer_;
    QSize fitted_{-1, -1};
};

} // namespace

void placeCentred(QWidget *window, QSize outerSize)
{
    new Placement(window, outerSize);
}

} // namespace quimo::ui
