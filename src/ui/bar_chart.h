#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

namespace quimo::ui {

// The overview's bar chart: one series of bars on a fixed 0..100 % axis, each bar labelled
// below with a text rotated to read upwards ('\r' in a label breaks it into two lines).
class BarChart final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BarChart)

public:
    struct Point
    {
        double value = 0;
        QString label;
        QColor color;
    };

    // Where everything is drawn, computed in one place for painting and for tests.
    struct Geometry
    {
        QRect title;           // title text box
        QRect foot;            // foot text box
        QRect plot;            // framed plotting area; value 0 at its bottom, 100 at its top
        int axisStep = 10;     // distance of the left axis labels in percent
        QVector<QRect> bars;   // one per point, already cut off at the plot's top edge
        QVector<QRect> labels; // one per point: the box of the rotated label
    };

    explicit BarChart(QWidget *parent = nullptr);

    // Appends a bar after the existing ones and repaints; returns its index.
    int addPoint(double value, const QString &label, const QColor &color);
    const QVector<Point> &points() const { return points_; }

    void setTitle(const QString &title);
    QString title() const { return title_; }
    void setFootText(const QString &text);
    QString footText() const { return foot_; }

    Geometry geometryFor(const QSize &size) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<Point> points_;
    QString title_;
    QString foot_;
};

} // namespace quimo::ui
