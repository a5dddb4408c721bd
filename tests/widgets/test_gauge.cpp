#include "ui/gauge.h"

#include <QImage>
#include <QtTest>

#include <climits>

using quimo::ui::Gauge;

namespace {

// The gauge as the detail window sets it up: its own size and the window's font.
struct GaugeFixture
{
    Gauge gauge;

    explicit GaugeFixture(int progress)
    {
        QFont font("MS Sans Serif");
        font.setPixelSize(11);
        gauge.setFont(font);
        gauge.resize(160, 21);
        gauge.setProgress(progress);
    }

    QImage grabbed() { return gauge.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);
const QRgb red = qRgb(255, 0, 0);
const QRgb cyan = qRgb(0, 255, 255);

} // namespace

class TestGauge final : public QObject
{
    Q_OBJECT

private slots:
    void percentDoneInDefaultRange_data();
    void percentDoneInDefaultRange();
    void percentDoneInOtherRanges_data();
    void percentDoneInOtherRanges();
    void narrowingTheRangeClampsTheProgress();
    void barWidth_data();
    void barWidth();
    void paintsFrameBarAndInvertedText_data();
    void paintsFrameBarAndInvertedText();
};

void TestGauge::percentDoneInDefaultRange_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("clamped");

    QTest::newRow("below range") << -7 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("20") << 20 << 20;
    QTest::newRow("60") << 60 << 60;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("above range") << 150 << 100;
}

void TestGauge::percentDoneInDefaultRange()
{
    QFETCH(int, progress);
    QFETCH(int, clamped);

    Gauge gauge;
    QCOMPARE(gauge.minValue(), 0);
    QCOMPARE(gauge.maxValue(), 100);
    gauge.setProgress(progress);
    QCOMPARE(gauge.progress(), clamped);
    QCOMPARE(gauge.percentDone(), clamped);
}

void TestGauge::percentDoneInOtherRanges_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");

    QTest::newRow("50..150 at 75") << 50 << 150 << 75 << 25;
    QTest::newRow("50..150 below") << 50 << 150 << 10 << 0;
    QTest::newRow("empty range") << 5 << 5 << 5 << 0;
    QTest::newRow("empty range, value above") << 5 << 5 << 9 << 0;
    QTest::newRow("truncated 1/3") << 0 << 3 << 1 << 33;
    QTest::newRow("truncated 2/3") << 0 << 3 << 2 << 66;
    QTest::newRow("negative range") << -200 << -100 << -150 << 50;
    QTest::newRow("full int range, top") << INT_MIN << INT_MAX << INT_MAX << 100;
    QTest::newRow("full int range, middle") << INT_MIN << INT_MAX << 0 << 50;
}

void TestGauge::percentDoneInOtherRanges()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(int, percent);

    Gauge gauge;
    gauge.setRange(minValue, maxValue);
    gauge.setProgress(progress);
    QCOMPARE(gauge.percentDone(), percent);
}

void TestGauge::narrowingTheRangeClampsTheProgress()
{
    Gauge gauge;
    gauge.setProgress(80);
    gauge.setRange(0, 50);
    QCOMPARE(gauge.progress(), 50);
    QCOMPARE(gauge.percentDone(), 100);
}

void TestGauge::barWidth_data()
{
    QTest::addColumn<int>("outerWidth");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("width");

    QTest::newRow("0%") << 160 << 0 << 0;
    QTest::newRow("1% truncated") << 160 << 1 << 1;
    QTest::newRow("60%") << 160 << 60 << 94;
    QTest::newRow("100% fills the inside") << 160 << 100 << 158;
    QTest::newRow("only a frame") << 2 << 100 << 0;
    QTest::newRow("no width") << 0 << 50 << 0;
}

void TestGauge::barWidth()
{
    QFETCH(int, outerWidth);
    QFETCH(int, progress);
    QFETCH(int, width);

    Gauge gauge;
    gauge.setProgress(progress);
    QCOMPARE(gauge.barWidth(outerWidth), width);
}

void TestGauge::paintsFrameBarAndInvertedText_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("textOverWhite");
    QTest::addColumn<bool>("textOverRed");

    QTest::newRow("0%") << 0 << 0 << true << false;
    QTest::newRow("50%, text across the bar end") << 50 << 79 << true << true;
    QTest::newRow("60%") << 60 << 94 << false << true;
    QTest::newRow("100%") << 100 << 158 << false << true;
}

void TestGauge::paintsFrameBarAndInvertedText()
{
    QFETCH(int, progress);
    QFETCH(int, bar);
    QFETCH(bool, textOverWhite);
    QFETCH(bool, textOverRed);

    GaugeFixture fixture(progress);
    const QImage image = fixture.grabbed();
    QCOMPARE(image.size(), QSize(160, 21));

    for (int x = 0; x < 160; ++x) {
        QCOMPARE(image.pixel(x, 0), black);
        QCOMPARE(image.pixel(x, 20), black);
    }
    for (int y = 0; y < 21; ++y) {
        QCOMPARE(image.pixel(0, y), black);
        QCOMPARE(image.pixel(159, y), black);
    }

    // Row 2 lies above the text: red up to the end of the bar, white after it.
    for (int x = 1; x < 159; ++x) {
        QCOMPARE(image.pixel(x, 2), x <= bar ? red : white);
    }

    // Inside the frame only four colours: the ground, the bar and the text inverting each.
    int overWhite = 0;
    int overRed = 0;
    for (int y = 1; y < 20; ++y) {
        for (int x = 1; x < 159; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool onBar = x <= bar;
            if (pixel == black) {
                QVERIFY2(!onBar, qPrintable(QString("black on the bar at %1,%2").arg(x).arg(y)));
                ++overWhite;
            } else if (pixel == cyan) {
                QVERIFY2(onBar, qPrintable(QString("cyan off the bar at %1,%2").arg(x).arg(y)));
                ++overRed;
            } else {
                QCOMPARE(pixel, onBar ? red : white);
            }
        }
    }
    QCOMPARE(overWhite > 0, textOverWhite);
    QCOMPARE(overRed > 0, textOverRed);
}

QTEST_MAIN(TestGauge)
#include "test_gauge.moc"
