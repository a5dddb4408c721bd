#include "ui/gauge.h"

#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace quimo::ui {

Gauge::Gauge(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted by paintEvent, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Gauge::setRange(int minValue, int maxValue)
{
    const int before = percentDone();
    min_ = minValue;
    max_ = std::max(minValue, maxValue);
    progress_ = std::clamp(progress_, min_, max_);
    if (percentDone() != before) {
        update();
    }
}

void Gauge::setProgress(int value)
{
    const int before = percentDone();
    progress_ = std::clamp(value, min_, max_);
    if (percentDone() != before) {
        update();
    }
}

int Gauge::percentDone() const
{
    if (max_ == min_) {
        return 0;
    }
    // 64 bits: the difference of two ints, times 100, does not fit into an int.
    const qint64 done = static_cast<qint64>(progress_) - min_;
    const qint64 span = static_cast<qint64>(max_) - min_;
    return static_cast<int>(done * 100 / span);
}

int Gauge::barWidth(int outerWidth) const
{
    const int inner = std::max(0, outerWidth - 2);
    return inner * percentDone() / 100;
}

QSize Gauge::sizeHint() const
{
    return {160, 21};
}

void Gauge::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter widgetPainter(this);
    if (widgetPainter.paintEngine()->type() == QPaintEngine::Pdf) {
        paintVectors(widgetPainter);
        return;
    }

    // The text inverts what lies beneath it. Raster operations are only reliable on a QImage,
    // so the gauge is composed there and then copied to the widget (or to the grab pixmap).
    const qreal ratio = devicePixelRatioF();
    QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);

    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    {
        QPainter p(&image);
        p.fillRect(outer, Qt::black);
        p.fillRect(inner, Qt::white);
        const int bar = barWidth(outer.width());
        if (bar > 0) {
            p.fillRect(QRect(inner.left(), inner.top(), bar, inner.height()), Qt::red);
        }

        // Antialiased edges would be XORed as whole pixels or mixed; plain pixels keep the
        // text pure black over white and pure cyan over red.
        QFont textFont = font();
        textFont.setStyleStrategy(QFont::NoAntialias);
        p.setFont(textFont);
        p.setPen(Qt::white);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawText(inner, Qt::AlignCenter, QString("%1%").arg(percentDone()));
    }

    widgetPainter.drawImage(0, 0, image);
}

// In a document the gauge stays vector graphics: the inverted text is the same text drawn
// twice, black where it lies over the background and cyan where it lies over the bar.
void Gauge::paintVectors(QPainter &painter) const
{
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const QRect bar(inner.left(), inner.top(), barWidth(outer.width()), inner.height());
    painter.fillRect(outer, Qt::black);
    painter.fillRect(inner, Qt::white);
    if (bar.width() > 0) {
        painter.fillRect(bar, Qt::red);
    }
    painter.setFont(font());
    const QString text = QString("%1%").arg(percentDone());
    const QRect rest(bar.right() + 1, inner.top(), inner.right() - bar.right(), inner.height());
    for (const auto &[area, colour] :
         {std::pair{rest, QColor(Qt::black)}, std::pair{bar, QColor(Qt::cyan)}}) {
        if (area.width() > 0) {
            painter.save();
            painter.setClipRect(area);
            painter.setPen(colour);
            painter.drawText(inner, Qt::AlignCenter, text);
            painter.restore();
        }
    }
}

} // namespace quimo::ui
