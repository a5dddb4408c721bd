// A small pixel probe for the end-to-end scripts: reads a screenshot or a written picture and
// prints plain numbers that a shell script can compare.
//
//   e2e_image_probe size FILE                 -> "W H"
//   e2e_image_probe pixel FILE X Y            -> "R G B"
//   e2e_image_probe bars FILE R G B TOL       -> one line "LEFT RIGHT BOTTOM HEIGHT" per bar
//   e2e_image_probe differs FILE R G B TOL X Y W H -> how many pixels of the area differ
//   e2e_image_probe compare FILE OTHER        -> "MEAN PERMILLE": the mean difference of all
//       channels, and how many pixels per thousand differ by more than 48 in some channel
//
// A bar is a run of at least 20 adjacent columns whose longest vertical run of the colour
// (each channel within TOL) is at least 4 pixels and ends on the same row: text in the same
// colour never forms such a block.

#include <QCoreApplication>
#include <QImage>
#include <QRect>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kMinBarWidth = 20;
constexpr int kMinRun = 4;

struct ColumnRun
{
    int length = 0;
    int bottom = -1;
};

bool matches(QRgb pixel, QRgb wanted, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(wanted)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(wanted)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(wanted)) <= tolerance;
}

ColumnRun longestRun(const QImage &image, int x, QRgb wanted, int tolerance)
{
    ColumnRun best;
    int length = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (matches(image.pixel(x, y), wanted, tolerance)) {
            ++length;
            if (length > best.length) {
                best = {length, y};
            }
        } else {
            length = 0;
        }
    }
    return best;
}

void printBars(QTextStream &out, const QImage &image, QRgb wanted, int tolerance)
{
    std::vector<ColumnRun> runs;
    for (int x = 0; x < image.width(); ++x) {
        runs.push_back(longestRun(image, x, wanted, tolerance));
    }
    int x = 0;
    while (x < image.width()) {
        if (runs[std::size_t(x)].length < kMinRun) {
            ++x;
            continue;
        }
        const int left = x;
        const int bottom = runs[std::size_t(x)].bottom;
        std::vector<int> heights;
        while (x < image.width() && runs[std::size_t(x)].length >= kMinRun &&
               std::abs(runs[std::size_t(x)].bottom - bottom) <= 1) {
            heights.push_back(runs[std::size_t(x)].length);
            ++x;
        }
        if (int(heights.size()) >= kMinBarWidth) {
            // The median ignores the outline columns at the bar's edges.
            std::nth_element(heights.begin(), heights.begin() + long(heights.size() / 2),
                             heights.end());
            out << left << ' ' << (x - 1) << ' ' << bottom << ' ' << heights[heights.size() / 2]
                << '\n';
        }
    }
}

int countDiffering(const QImage &image, QRgb wanted, int tolerance, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += matches(image.pixel(x, y), wanted, tolerance) ? 0 : 1;
        }
    }
    return count;
}

// Two pictures of the same window, one from the screen and one rendered: JPEG noise stays
// small everywhere, a different content shows as many pixels far apart.
void printComparison(QTextStream &out, const QImage &a, const QImage &b)
{
    double sum = 0;
    qint64 far = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int dr = std::abs(qRed(p) - qRed(q));
            const int dg = std::abs(qGreen(p) - qGreen(q));
            const int db = std::abs(qBlue(p) - qBlue(q));
            sum += dr + dg + db;
            far += std::max({dr, dg, db}) > 48 ? 1 : 0;
        }
    }
    const double pixels = double(a.width()) * a.height();
    out << QString::number(sum / (3 * pixels), 'f', 2) << ' '
        << QString::number(1000.0 * double(far) / pixels, 'f', 2) << '\n';
}

int usage()
{
    QTextStream(stderr)
        << "usage: e2e_image_probe size FILE | pixel FILE X Y | "
           "bars FILE R G B TOL | differs FILE R G B TOL X Y W H | compare FILE OTHER\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // the image format plugins need it
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        return usage();
    }
    const QImage image(args.at(1));
    if (image.isNull()) {
        QTextStream(stderr) << "e2e_image_probe: cannot read " << args.at(1) << '\n';
        return 1;
    }
    QTextStream out(stdout);
    const QString &mode = args.at(0);
    if (mode == QLatin1String("size") && args.size() == 2) {
        out << image.width() << ' ' << image.height() << '\n';
        return 0;
    }
    if (mode == QLatin1String("pixel") && args.size() == 4) {
        const int x = args.at(2).toInt();
        const int y = args.at(3).toInt();
        if (!image.valid(x, y)) {
            QTextStream(stderr) << "e2e_image_probe: " << x << ',' << y << " is outside\n";
            return 1;
        }
        const QRgb pixel = image.pixel(x, y);
        out << qRed(pixel) << ' ' << qGreen(pixel) << ' ' << qBlue(pixel) << '\n';
        return 0;
    }
    if (mode == QLatin1String("differs") && args.size() == 10) {
        const QRgb wanted = qRgb(args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
        const QRect area(args.at(6).toInt(), args.at(7).toInt(), args.at(8).toInt(),
                         args.at(9).toInt());
        if (!image.rect().contains(area)) {
            QTextStream(stderr) << "e2e_image_probe: the area is outside the picture\n";
            return 1;
        }
        out << countDiffering(image, wanted, args.at(5).toInt(), area) << '\n';
        return 0;
    }
    if (mode == QLatin1String("compare") && args.size() == 3) {
        const QImage other(args.at(2));
        if (other.size() != image.size()) {
            QTextStream(stderr) << "e2e_image_probe: the pictures differ in size\n";
            return 1;
        }
        printComparison(out, image, other);
        return 0;
    }
    if (mode == QLatin1String("bars") && args.size() == 6) {
        const QRgb wanted = qRgb(args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
        printBars(out, image, wanted, args.at(5).toInt());
        return 0;
    }
    return usage();
}
