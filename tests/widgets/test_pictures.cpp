#include "ui/pictures.h"

#include <QImage>
#include <QtTest>

using namespace quimo::ui;

namespace {

QImage iconImage(const QIcon &icon, QIcon::Mode mode)
{
    return icon.pixmap(QSize(18, 18), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasColouredPixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0 &&
                (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestPictures final : public QObject
{
    Q_OBJECT

private slots:
    void doorHasNormalAndGreyedImage();
    void checkMarkIsGreenOnTransparentGround();
    void logoIsItsFullSize();
    void applicationIconLoads();
};

void TestPictures::doorHasNormalAndGreyedImage()
{
    const QIcon icon = doorIcon();
    const QImage normal = iconImage(icon, QIcon::Normal);
    const QImage disabled = iconImage(icon, QIcon::Disabled);
    QCOMPARE(normal.size(), QSize(18, 18));
    QCOMPARE(disabled.size(), QSize(18, 18));
    QVERIFY(normal != disabled);
    // The disabled image is our own greyed one, not a tinted copy of the colours.
    QVERIFY(hasColouredPixel(normal));
    QVERIFY(!hasColouredPixel(disabled));
}

void TestPictures::checkMarkIsGreenOnTransparentGround()
{
    const QIcon icon = checkMarkIcon();
    QVERIFY(!icon.isNull());
    const QImage image = iconImage(icon, QIcon::Normal);
    QCOMPARE(image.size(), QSize(18, 18));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(17, 17)), 0);

    int green = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255 && qGreen(pixel) > 100 && qRed(pixel) == 0 &&
                qBlue(pixel) == 0) {
                ++green;
            }
        }
    }
    QVERIFY(green > 10);
}

void TestPictures::logoIsItsFullSize()
{
    const QPixmap logo = logoPixmap();
    QVERIFY(!logo.isNull());
    QCOMPARE(logo.size(), QSize(400, 334));
}

void TestPictures::applicationIconLoads()
{
    const QIcon icon = applicationIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
