#include "chart_labels.h"
#include "ui/bar_chart.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QtTest>

#include <memory>

using quimo::ui::BarChart;

namespace {

const QColor cream(255, 251, 240);
const QColor navy(0, 0, 128);
const QSize chartSize(761, 489);

const QStringList &blockLabels = quimo::testing::kChartLabels;

std::unique_ptr<BarChart> makeChart(const QVector<double> &scores, QSize size = chartSize,
                                    const QColor &color = navy)
{
    auto chart = std::make_unique<BarChart>();
    chart->resize(size);
    for (int i = 0; i < scores.size(); ++i)
        chart->addPoint(scores[i], blockLabels[i % blockLabels.size()], color);
    return chart;
}

QImage grabImage(BarChart &chart)
{
    return chart.grab().toImage();
}

QRect innerOf(const QRect &plot)
{
    return plot.adjusted(1, 1, -1, -1);
}

// Centre column of slot i of n across the plot's inside.
int slotCentre(const QRect &plot, int i, int n)
{
    const QRect inner = innerOf(plot);
    return inner.left() + int((i + 0.5) * inner.width() / n);
}

int countColour(const QImage &image, const QRect &area, const QColor &color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == color;
    }
    return count;
}

bool isDark(const QColor &c)
{
    return c.red() < 128 && c.green() < 128 && c.blue() < 128;
}

int countDark(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += isDark(image.pixelColor(x, y));
    }
    return count;
}

} // namespace

class TestBarChart final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void barsStandInOrderWithProportionalHeights_data();
    void barsStandInOrderWithProportionalHeights();
    void scoreAboveHundredStopsAtTopEdge();
    void nonPositiveScoreDrawsNoBar_data();
    void nonPositiveScoreDrawsNoBar();
    void barFillIsExactlyTheColourPassed_data();
    void barFillIsExactlyTheColourPassed();
    void axisStepKeepsHalfALabelBetweenLabels_data();
    void axisStepKeepsHalfALabelBetweenLabels();
    void labelsReadUpwardsBelowThePlotAndStayVisible();
    void labelSpaceFollowsTheLongestLabel();
    void emptyChartDrawsNoBar();
    void plotIsFramedAndNotFilled();
    void titleAndFootAreDrawn();
};

void TestBarChart::initTestCase()
{
    // The program's font mapping, so that metrics match what users see.
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

void TestBarChart::barsStandInOrderWithProportionalHeights_data()
{
    QTest::addColumn<QVector<double>>("scores");
    QTest::newRow("rising") << QVector<double>{10, 20, 30, 40, 50, 60, 70, 80, 90};
    QTest::newRow("falling") << QVector<double>{90, 80, 70, 60, 50, 40, 30, 20, 10};
    QTest::newRow("typical scores") << QVector<double>{100, 83, 96, 3, 20, 60, 33, 100, 50};
    QTest::newRow("two bars") << QVector<double>{25, 75};
}

void TestBarChart::barsStandInOrderWithProportionalHeights()
{
    QFETCH(QVector<double>, scores);
    auto chart = makeChart(scores);
    for (int i = 0; i < scores.size(); ++i)
        QCOMPARE(chart->points().at(i).value, scores[i]);

    const QRect plot = chart->geometryFor(chartSize).plot;
    const QRect inner = innerOf(plot);
    const QImage image = grabImage(*chart);
    for (int i = 0; i < scores.size(); ++i) {
        const int x = slotCentre(plot, i, int(scores.size()));
        const int height = countColour(image, QRect(x, plot.top(), 1, plot.height()), navy);
        const double expected = scores[i] / 100 * inner.height();
        QVERIFY2(
            qAbs(height - expected) <= 1.0,
            qPrintable(QString("bar %1: %2 px, expected %3").arg(i).arg(height).arg(expected)));
        // Bars stand on the bottom of the plot, 80 % of their slot wide and centred in it.
        const double slot = double(inner.width()) / scores.size();
        const QRect slotRow(inner.left() + int(i * slot), inner.bottom(), int(slot), 1);
        const int width = countColour(image, slotRow, navy);
        QVERIFY2(qAbs(width - 0.8 * slot) <= 1.0,
                 qPrintable(QString("bar %1: %2 px wide").arg(i).arg(width)));
        int first = slotRow.left();
        while (image.pixelColor(first, inner.bottom()) != navy)
            ++first;
        QVERIFY(qAbs(first + width / 2.0 - (inner.left() + (i + 0.5) * slot)) <= 1.0);
    }
}

void TestBarChart::scoreAboveHundredStopsAtTopEdge()
{
    auto chart = makeChart({50, 200, 100});
    const BarChart::Geometry g = chart->geometryFor(chartSize);
    const QRect inner = innerOf(g.plot);
    QCOMPARE(g.bars[1].top(), inner.top());
    QCOMPARE(g.bars[1], g.bars[1].intersected(inner));

    const QImage image = grabImage(*chart);
    for (int i : {1, 2}) {
        const int x = slotCentre(g.plot, i, 3);
        QCOMPARE(image.pixelColor(x, inner.top()), navy);
        QCOMPARE(image.pixelColor(x, g.plot.top()), QColor(Qt::black));
        // Nothing of the bar above the frame.
        for (int y = g.title.bottom() + 1; y < g.plot.top(); ++y)
            QCOMPARE(image.pixelColor(x, y), cream);
    }
}

void TestBarChart::nonPositiveScoreDrawsNoBar_data()
{
    QTest::addColumn<double>("score");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -20.0;
}

void TestBarChart::nonPositiveScoreDrawsNoBar()
{
    QFETCH(double, score);
    auto chart = makeChart({40, score, 40});
    const BarChart::Geometry g = chart->geometryFor(chartSize);
    QVERIFY(g.bars[1].isEmpty());

    const QRect inner = innerOf(g.plot);
    const int slot = inner.width() / 3;
    const QRect middleSlot(inner.left() + slot + 1, g.title.bottom() + 1, slot - 2,
                           g.plot.bottom() - g.title.bottom());
    QCOMPARE(countColour(grabImage(*chart), middleSlot, navy), 0);
}

void TestBarChart::barFillIsExactlyTheColourPassed_data()
{
    QTest::addColumn<QColor>("color");
    QTest::newRow("navy") << navy;
    QTest::newRow("red") << QColor(200, 30, 40);
    QTest::newRow("light green") << QColor(150, 230, 150);
}

void TestBarChart::barFillIsExactlyTheColourPassed()
{
    QFETCH(QColor, color);
    auto chart = makeChart({100, 45, 7}, chartSize, color);
    const BarChart::Geometry g = chart->geometryFor(chartSize);
    const QImage image = grabImage(*chart);
    for (const QRect &bar : g.bars) {
        QVERIFY(!bar.isEmpty());
        QCOMPARE(countColour(image, bar, color), bar.width() * bar.height());
    }
}

void TestBarChart::axisStepKeepsHalfALabelBetweenLabels_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("step");
    QTest::newRow("program size") << 489 << 10;
    QTest::newRow("smaller") << 300 << 20;
    QTest::newRow("much smaller") << 240 << 50;
    QTest::newRow("tall") << 1000 << 5;
}

void TestBarChart::axisStepKeepsHalfALabelBetweenLabels()
{
    QFETCH(int, height);
    QFETCH(int, step);
    const QSize size(761, height);
    auto chart = makeChart({50, 50, 50, 50, 50, 50, 50, 50, 50}, size);
    const BarChart::Geometry g = chart->geometryFor(size);
    QCOMPARE(g.axisStep, step);

    // The rule itself: this step leaves the gap, the next smaller one would not.
    QFont font("Arial");
    font.setPixelSize(11);
    const double labelHeight = QFontMetrics(font).height();
    const double pixelsPerPercent = innerOf(g.plot).height() / 100.0;
    const QVector<int> steps{1, 2, 5, 10, 20, 50, 100};
    QVERIFY(step * pixelsPerPercent - labelHeight >= labelHeight / 2);
    const qsizetype index = steps.indexOf(step);
    if (index > 0)
        QVERIFY(steps[index - 1] * pixelsPerPercent - labelHeight < labelHeight / 2);

    // A tick stands at every step and nowhere in between.
    const QImage image = grabImage(*chart);
    const int tickX = g.plot.left() - 2;
    for (int value = 0; value <= 100; value += step) {
        const int y = g.plot.bottom() - qRound(value * pixelsPerPercent);
        QVERIFY2(isDark(image.pixelColor(tickX, y)), qPrintable(QString::number(value)));
        if (value < 100) {
            const int between = g.plot.bottom() - qRound((value + step / 2.0) * pixelsPerPercent);
            QCOMPARE(image.pixelColor(tickX, between), cream);
        }
    }
}

void TestBarChart::labelsReadUpwardsBelowThePlotAndStayVisible()
{
    auto chart = makeChart({100, 83, 96, 3, 20, 60, 0, 200, 50});
    chart->setFootText("(c) QUIMO");
    const BarChart::Geometry g = chart->geometryFor(chartSize);
    const QImage image = grabImage(*chart);
    if (const QByteArray path = qgetenv("QUIMO_CHART_PNG"); !path.isEmpty())
        image.save(QString::fromLocal8Bit(path));

    QFont font("Arial");
    font.setPixelSize(11);
    const QFontMetrics metrics(font);
    QCOMPARE(g.labels.size(), blockLabels.size());
    for (int i = 0; i < g.labels.size(); ++i) {
        const QRect box = g.labels[i];
        const QStringList lines = blockLabels[i].split('\r');
        QVERIFY2(box.height() > box.width(), qPrintable(blockLabels[i]));
        QVERIFY(box.top() > g.plot.bottom());
        QVERIFY(box.bottom() < g.foot.top());
        QVERIFY(QRect(QPoint(0, 0), chartSize).contains(box));
        for (const QString &line : lines)
            QVERIFY(box.height() >= metrics.horizontalAdvance(line));
        QVERIFY(qAbs(box.center().x() - slotCentre(g.plot, i, 9)) <= 1);
        if (i > 0)
            QVERIFY(!box.intersects(g.labels[i - 1]));

        // Every line is drawn, side by side, and no ink leaves the box in its column.
        const int half = box.width() / lines.size();
        for (int k = 0; k < lines.size(); ++k) {
            const QRect lineBox(box.left() + k * half, box.top(), half, box.height());
            QVERIFY2(countDark(image, lineBox) > 20, qPrintable(lines[k]));
        }
        const QRect column(box.left(), g.plot.bottom() + 1, box.width(),
                           g.foot.top() - g.plot.bottom() - 1);
        QCOMPARE(countDark(image, column), countDark(image, box));
    }

    // Read upwards with the first line on the left, both lines ending at the plot: the short
    // second line "kreieren" leaves the lower right of its box empty.
    const QRect first = g.labels[0];
    const int half = first.width() / 2;
    const int lower = first.height() * 2 / 5;
    const QRect lowerLeft(first.left(), first.bottom() - lower, half, lower);
    QVERIFY(countDark(image, lowerLeft) > 20);
    QCOMPARE(countDark(image, lowerLeft.translated(half, 0)), 0);
}

void TestBarChart::labelSpaceFollowsTheLongestLabel()
{
    BarChart shortLabels;
    shortLabels.addPoint(50, "kurz", navy);
    BarChart longLabels;
    longLabels.addPoint(50, "kurz", navy);
    longLabels.addPoint(50, "Ergebnisse und Er-\rwartungen strukturieren und noch mehr", navy);

    const BarChart::Geometry small = shortLabels.geometryFor(chartSize);
    const BarChart::Geometry large = longLabels.geometryFor(chartSize);
    QVERIFY(small.plot.height() > large.plot.height() + 50);
    QVERIFY(large.labels[1].bottom() < large.foot.top());
    QVERIFY(small.labels[0].bottom() < small.foot.top());
}

void TestBarChart::emptyChartDrawsNoBar()
{
    BarChart chart;
    chart.resize(chartSize);
    const BarChart::Geometry g = chart.geometryFor(chartSize);
    QVERIFY(g.bars.isEmpty());
    QVERIFY(g.labels.isEmpty());
    QCOMPARE(countColour(grabImage(chart), g.plot, navy), 0);
}

void TestBarChart::plotIsFramedAndNotFilled()
{
    auto chart = makeChart({60, 60, 60});
    const BarChart::Geometry g = chart->geometryFor(chartSize);
    const QRect plot = g.plot;
    const QImage image = grabImage(*chart);
    const QColor black(Qt::black);
    QCOMPARE(image.pixelColor(plot.center().x(), plot.top()), black);
    QCOMPARE(image.pixelColor(plot.center().x(), plot.bottom()), black);
    QCOMPARE(image.pixelColor(plot.left(), plot.center().y()), black);
    QCOMPARE(image.pixelColor(plot.right(), plot.center().y()), black);
    // Just outside the frame, and inside it between two bars and two grid lines: cream.
    QCOMPARE(image.pixelColor(plot.center().x(), plot.top() - 1), cream);
    QCOMPARE(image.pixelColor(plot.right() + 1, plot.center().y()), cream);
    const QRect inner = innerOf(plot);
    const int betweenBars = (g.bars[0].right() + g.bars[1].left()) / 2;
    const int betweenLines =
        plot.bottom() - qRound((100 - g.axisStep / 2.0) / 100 * inner.height());
    QCOMPARE(image.pixelColor(betweenBars, betweenLines), cream);
    QCOMPARE(image.pixelColor(0, 0), cream);
    QCOMPARE(image.pixelColor(chartSize.width() - 1, chartSize.height() - 1), cream);
}

void TestBarChart::titleAndFootAreDrawn()
{
    BarChart chart;
    chart.resize(chartSize);
    QCOMPARE(chart.title(), QString("QUIMO-Auswertung"));
    const BarChart::Geometry g = chart.geometryFor(chartSize);
    QCOMPARE(countDark(grabImage(chart), g.foot), 0);

    chart.setFootText("Auswertung nach QUIMO");
    const QImage image = grabImage(chart);
    QVERIFY(countDark(image, g.foot) > 30);
    QVERIFY(countColour(image, g.title, navy) > 30);
    QCOMPARE(countColour(image, g.foot, navy), 0);
}

QTEST_MAIN(TestBarChart)

#include "test_bar_chart.moc"
