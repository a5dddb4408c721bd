#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace quimo::ui {

// A horizontal bar with its percentage centred on it. The text inverts the pixels beneath it,
// so it reads black over the background and cyan over the red bar.
class Gauge final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Gauge)

public:
    explicit Gauge(QWidget *parent = nullptr);

    void setRange(int minValue, int maxValue);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }

    // Clamps value to the range; repaints only when the shown percentage changes.
    void setProgress(int value);
    int progress() const { return progress_; }

    // (progress - min) * 100 / (max - min), truncated; 0 when max == min.
    int percentDone() const;

    // Width in pixels of the bar inside a frame of the given outer width.
    int barWidth(int outerWidth) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintVectors(QPainter &painter) const;

    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
};

} // namespace quimo::ui
