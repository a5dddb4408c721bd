// Draws the pictures the program ships: the block menu's logo and the application icon.
// Run by hand when the pictures change; the results are checked in under resources/.
//
//   g++ -std=c++20 -fPIC make_pictures.cpp -o make_pictures $(pkg-config --cflags --libs
//   Qt6Widgets) QT_QPA_PLATFORM=offscreen ./make_pictures ../resources

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>

namespace {

const QColor navy(31, 58, 104);
const QColor sky(214, 232, 248);
const QColor orange(240, 140, 40);
const QColor green(46, 160, 67);
const QColor grey(120, 128, 140);

// A clock face (the pens keep a minimum width so the small icon stays legible) with hour marks and
// hands at the given time.
void drawClock(QPainter &p, QPointF centre, qreal radius, int hours, int minutes, bool marks)
{
    p.save();
    p.translate(centre);
    p.setPen(QPen(navy, qMax(radius * 0.09, 1.6)));
    p.setBrush(sky);
    p.drawEllipse(QPointF(0, 0), radius, radius);
    if (marks) {
        for (int i = 0; i < 12; ++i) {
            p.save();
            p.rotate(i * 30.0);
            const bool quarter = i % 3 == 0;
            p.setPen(
                QPen(navy, quarter ? radius * 0.06 : radius * 0.03, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, -radius * 0.82), QPointF(0, -radius * (quarter ? 0.66 : 0.72)));
            p.restore();
        }
    }
    const qreal minuteAngle = minutes * 6.0;
    const qreal hourAngle = (hours % 12) * 30.0 + minutes * 0.5;
    p.save();
    p.rotate(hourAngle);
    p.setPen(QPen(navy, qMax(radius * 0.11, 2.2), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, radius * 0.1), QPointF(0, -radius * 0.48));
    p.restore();
    p.save();
    p.rotate(minuteAngle);
    p.setPen(QPen(orange, qMax(radius * 0.07, 1.8), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, radius * 0.14), QPointF(0, -radius * 0.72));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(navy);
    p.drawEllipse(QPointF(0, 0), radius * 0.08, radius * 0.08);
    p.restore();
}

void drawCheck(QPainter &p, QRectF box)
{
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.2, box.top() + box.height() * 0.55);
    tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.78);
    tick.lineTo(box.left() + box.width() * 0.85, box.top() + box.height() * 0.22);
    p.setPen(QPen(green, box.width() * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

QImage logo()
{
    QImage image(400, 334, QImage::Format_RGB32);
    image.fill(Qt::white);
    // 96 dpi.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    drawClock(p, QPointF(128, 132), 96, 10, 10, true);

    // A check list: most of the day's tasks done, one still open.
    const qreal left = 252;
    const qreal boxSize = 22;
    for (int row = 0; row < 4; ++row) {
        const qreal top = 52 + row * 40;
        const QRectF box(left, top, boxSize, boxSize);
        p.setPen(QPen(grey, 2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(box, 3, 3);
        p.setPen(QPen(row == 3 ? sky : QColor(170, 190, 215), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(left + 34, top + boxSize / 2),
                   QPointF(left + 34 + (row % 2 == 0 ? 100 : 80), top + boxSize / 2));
        if (row < 3) {
            drawCheck(p, box.adjusted(-2, -4, 4, 0));
        }
    }

    // The name underneath, with an orange rule.
    QFont font("DejaVu Sans");
    font.setPixelSize(58);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(font);
    p.setPen(navy);
    p.drawText(QRectF(0, 238, 400, 70), Qt::AlignCenter, "QUIMO");
    p.setPen(QPen(orange, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(110, 318), QPointF(290, 318));
    return image;
}

QImage icon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Bars behind, clock in front.
    p.setPen(Qt::NoPen);
    const int heights[] = {10, 16, 24};
    const QColor colours[] = {orange, green, navy};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(17 + i * 5, 31 - heights[i], 4, heights[i]));
    }
    drawClock(p, QPointF(12, 12), 10.5, 10, 10, false);
    return image;
}

bool save(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    if (QByteArray(format) == "jpg") {
        writer.setQuality(92);
        writer.setOptimizedWrite(false);
        writer.setProgressiveScanWrite(false);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir target(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("resources"));
    const bool ok = save(logo(), target.filePath("logo.jpg"), "jpg") &&
                    save(icon(), target.filePath("quimo-auswertung.png"), "png");
    return ok ? 0 : 1;
}
