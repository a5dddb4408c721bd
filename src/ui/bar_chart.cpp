#include "ui/bar_chart.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace quimo::ui {

namespace {

const QColor cream(255, 251, 240);
const QColor navy(0, 0, 128);
const QColor gridColor(220, 220, 220);

constexpr int margin = 8; // free border around everything
constexpr int gap = 6;    // between title, plot, labels and foot
constexpr int tickLength = 4;

QFont arial(int pixelSize, bool bold = false)
{
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont titleFont()
{
    return arial(15, true);
}
QFont footFont()
{
    return arial(11);
}
QFont axisFont()
{
    return arial(11);
}

QString percentText(int value)
{
    return QString::number(value) + QLatin1Char('%');
}

// A '\r' in a bar label breaks it into two lines.
QStringList labelLines(const QString &label)
{
    return label.split(QLatin1Char('\r'));
}

int labelLength(const QFontMetrics &metrics, const QString &label)
{
    int length = 0;
    for (const QString &line : labelLines(label))
        length = std::max(length, metrics.horizontalAdvance(line));
    return length;
}

// Smallest step whose labels, stacked along an axis of the given height, leave at least half
// a label height free between neighbours.
int axisStepFor(int axisHeight, int labelHeight)
{
    for (int step : std::array{1, 2, 5, 10, 20, 50}) {
        if (axisHeight * step >= 150 * labelHeight)
            return step;
    }
    return 100;
}

} // namespace

BarChart::BarChart(QWidget *parent)
    : QWidget(parent)
    , title_(QStringLiteral("QUIMO-Auswertung"))
{
}

int BarChart::addPoint(double value, const QString &label, const QColor &color)
{
    points_.append({value, label, color});
    update();
    return int(points_.size()) - 1;
}

void BarChart::setTitle(const QString &title)
{
    if (title == title_)
        return;
    title_ = title;
    update();
}

void BarChart::setFootText(const QString &text)
{
    if (text == foot_)
        return;
    foot_ = text;
    update();
}

BarChart::Geometry BarChart::geometryFor(const QSize &size) const
{
    const QFontMetrics axisMetrics(axisFont());
    const int titleHeight = QFontMetrics(titleFont()).height();
    const int footHeight = QFontMetrics(footFont()).height();

    int longestLabel = 0;
    for (const Point &point : points_)
        longestLabel = std::max(longestLabel, labelLength(axisMetrics, point.label));

    Geometry g;
    g.title = QRect(0, margin, size.width(), titleHeight);
    g.foot = QRect(0, size.height() - margin - footHeight, size.width(), footHeight);

    // The top axis label is centred on the frame, so half of it stands above the plot.
    const int left = margin + axisMetrics.horizontalAdvance(percentText(100)) + gap + tickLength;
    const int top = g.title.bottom() + 1 + std::max(gap, axisMetrics.height() / 2 + 2);
    const int right = size.width() - 1 - margin - gap;
    const int bottom = g.foot.top() - gap - longestLabel - gap - 1;
    g.plot = QRect(QPoint(left, top), QPoint(right, std::max(top + 2, bottom)));

    // Inside the one-pixel frame: value 0 sits on its bottom row, 100 reaches its top row.
    const QRect inner = g.plot.adjusted(1, 1, -1, -1);
    g.axisStep = axisStepFor(inner.height(), axisMetrics.height());

    const int count = int(points_.size());
    const double slot = count > 0 ? double(inner.width()) / count : 0;
    for (int i = 0; i < count; ++i) {
        const double centre = inner.left() + (i + 0.5) * slot;
        const int barLeft = int(std::lround(centre - 0.4 * slot));
        const int barRight = int(std::lround(centre + 0.4 * slot));
        const double value = std::min(points_[i].value, 100.0);
        const int height = value > 0 ? int(std::lround(value / 100 * inner.height())) : 0;
        g.bars.append(height > 0
                          ? QRect(barLeft, inner.bottom() - height + 1, barRight - barLeft, height)
                          : QRect());

        // Rotated, each text line takes one line height across and its length downwards.
        const int across = int(labelLines(points_[i].label).size()) * axisMetrics.height();
        g.labels.append(QRect(int(std::lround(centre - across / 2.0)), g.plot.bottom() + 1 + gap,
                              across, labelLength(axisMetrics, points_[i].label)));
    }
    return g;
}

QSize BarChart::sizeHint() const
{
    return {761, 489};
}

void BarChart::paintEvent(QPaintEvent *)
{
    const Geometry g = geometryFor(size());
    QPainter painter(this);
    painter.fillRect(rect(), cream);

    painter.save();
    painter.setFont(titleFont());
    painter.setPen(navy);
    painter.drawText(g.title, Qt::AlignCenter, title_);
    painter.restore();

    painter.save();
    painter.setFont(footFont());
    painter.setPen(Qt::black);
    painter.drawText(g.foot, Qt::AlignCenter, foot_);
    painter.restore();

    // Left axis: grid lines, ticks and "n%" labels at every step from 0 to 100.
    const QRect inner = g.plot.adjusted(1, 1, -1, -1);
    const QFontMetrics axisMetrics(axisFont());
    painter.save();
    painter.setFont(axisFont());
    for (int value = 0; value <= 100; value += g.axisStep) {
        // The same row on which a bar of this value ends.
        const int y = g.plot.bottom() - int(std::lround(value / 100.0 * inner.height()));
        painter.setPen(gridColor);
        if (value > 0 && value < 100)
            painter.drawLine(inner.left(), y, inner.right(), y);
        painter.setPen(Qt::black);
        painter.drawLine(g.plot.left() - tickLength, y, g.plot.left() - 1, y);
        const QRect box(margin, y - axisMetrics.height() / 2,
                        g.plot.left() - tickLength - gap / 2 - margin, axisMetrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, percentText(value));
    }
    painter.restore();

    for (int i = 0; i < points_.size(); ++i) {
        if (!g.bars[i].isEmpty())
            painter.fillRect(g.bars[i], points_[i].color);
    }

    painter.save();
    painter.setPen(Qt::black);
    painter.drawRect(g.plot.adjusted(0, 0, -1, -1));
    painter.restore();

    // Bar labels read upwards and end just below the plot; the first line is the leftmost.
    painter.save();
    painter.setFont(axisFont());
    painter.setPen(Qt::black);
    for (int i = 0; i < points_.size(); ++i) {
        const QRect box = g.labels[i];
        const QStringList lines = labelLines(points_[i].label);
        painter.save();
        painter.translate(box.left(), box.bottom() + 1);
        painter.rotate(-90);
        for (int k = 0; k < lines.size(); ++k) {
            const QRect line(0, k * axisMetrics.height(), box.height(), axisMetrics.height());
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, lines[k]);
        }
        painter.restore();
    }
    painter.restore();
}

} // namespace quimo::ui
