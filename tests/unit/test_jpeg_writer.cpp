#include "core/jpeg_writer.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

using quimo::encodeJpeg;
using quimo::JpegError;
using quimo::RgbImage;

namespace {

struct Rgb
{
    int r;
    int g;
    int b;
};

constexpr Rgb Navy{0, 0, 128};
constexpr Rgb Yellow{255, 220, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Red{200, 30, 30};

RgbImage filled(int width, int height, Rgb (*colourAt)(int x, int y))
{
    RgbImage image{width, height, {}};
    image.pixels.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            image.pixels.push_back(static_cast<std::uint8_t>(c.r));
            image.pixels.push_back(static_cast<std::uint8_t>(c.g));
            image.pixels.push_back(static_cast<std::uint8_t>(c.b));
        }
    }
    return image;
}

// Smooth gradients plus a fixed pseudo-random grain: enough detail for the DCT variants to
// round differently.
RgbImage noisyGradient(int width, int height)
{
    RgbImage image{width, height, {}};
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245U + 12345U;
            const int grain = static_cast<int>((seed >> 16) % 121) - 60;
            const int values[3] = {x * 255 / width + grain, y * 255 / height - grain,
                                   (x + y) * 127 / (width + height) + grain};
            for (int v : values) {
                image.pixels.push_back(static_cast<std::uint8_t>(std::clamp(v, 0, 255)));
            }
        }
    }
    return image;
}

// ITU T.81 Annex K, Tables K.1 and K.2, in natural (row by row) order.
constexpr std::array<int, 64> LuminanceTable = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> ChrominanceTable = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Position in natural order of the k-th coefficient in zigzag order (T.81 Figure A.6).
constexpr std::array<int, 64> ZigzagToNatural = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The table as written at quality 90, in the zigzag order in which DQT stores it.
std::array<int, 64> expectedDqt(const std::array<int, 64> &natural)
{
    std::array<int, 64> stored{};
    for (int k = 0; k < 64; ++k) {
        const int scaled = (natural[ZigzagToNatural[k]] * 20 + 50) / 100;
        stored[k] = std::clamp(scaled, 1, 255);
    }
    return stored;
}

struct Segment
{
    int marker;
    QByteArray payload; // without the length field
};

// Splits a JPEG file into its marker segments; the entropy-coded data after SOS is skipped,
// with stuffed zero bytes and restart markers inside it.
bool walkMarkers(const std::vector<std::uint8_t> &bytes, QList<Segment> &segments)
{
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        if (bytes[i] != 0xFF) {
            return false;
        }
        const int marker = bytes[i + 1];
        i += 2;
        if (marker == 0xD8 || marker == 0xD9) {
            segments.append(Segment{marker, {}});
            if (marker == 0xD9) {
                return i == bytes.size();
            }
            continue;
        }
        if (i + 2 > bytes.size()) {
            return false;
        }
        const std::size_t length = (static_cast<std::size_t>(bytes[i]) << 8) | bytes[i + 1];
        if (length < 2 || i + length > bytes.size()) {
            return false;
        }
        segments.append(Segment{marker, QByteArray(reinterpret_cast<const char *>(&bytes[i + 2]),
                                                   static_cast<qsizetype>(length - 2))});
        i += length;
        if (marker == 0xDA) {
            while (i + 1 < bytes.size()) {
                const int next = bytes[i + 1];
                if (bytes[i] == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) {
                    break;
                }
                ++i;
            }
        }
    }
    return false;
}

int byteOf(const QByteArray &payload, qsizetype at)
{
    return static_cast<unsigned char>(payload.at(at));
}

int wordOf(const QByteArray &payload, qsizetype at)
{
    return (byteOf(payload, at) << 8) | byteOf(payload, at + 1);
}

// A plain libjpeg encode with the given DCT, to compare the writer's bytes with.
std::vector<std::uint8_t> referenceEncode(const RgbImage &image, J_DCT_METHOD dct)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = dct;
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> rows = image.pixels;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            rows.data() + static_cast<std::size_t>(cinfo.next_scanline) * image.width * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> result(buffer, buffer + size);
    std::free(buffer);
    return result;
}

RgbImage decode(const std::vector<std::uint8_t> &bytes)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    RgbImage image{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), {}};
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row =
            image.pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) * image.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return image;
}

Rgb allNavy(int, int)
{
    return Navy;
}

// Quadrants that meet on MCU borders (16 x 16), so each one decodes to a clean colour.
Rgb quadrants(int x, int y)
{
    if (y < 256) {
        return x < 400 ? Navy : Yellow;
    }
    return x < 400 ? White : Red;
}

bool closeTo(const RgbImage &image, int x, int y, Rgb want, int tolerance)
{
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return std::abs(image.pixels[at] - want.r) <= tolerance &&
           std::abs(image.pixels[at + 1] - want.g) <= tolerance &&
           std::abs(image.pixels[at + 2] - want.b) <= tolerance;
}

} // namespace

class TestJpegWriter final : public QObject
{
    Q_OBJECT

private slots:
    void writesBaselineJfifAtQuality90();
    void matchesFloatDctEncodeOnly();
    void emptyPictureGivesNoBytes_data();
    void emptyPictureGivesNoBytes();
    void roundTrips_data();
    void roundTrips();
    void tooWidePictureReportsLibjpegCode();
    void rejectsMismatchedPixels_data();
    void rejectsMismatchedPixels();
};

void TestJpegWriter::writesBaselineJfifAtQuality90()
{
    const std::vector<std::uint8_t> bytes = encodeJpeg(noisyGradient(37, 21));

    QList<Segment> segments;
    QVERIFY(walkMarkers(bytes, segments));
    QVERIFY(segments.size() >= 2);
    QCOMPARE(segments.first().marker, 0xD8);
    QCOMPARE(segments.last().marker, 0xD9);

    QCOMPARE(segments.at(1).marker, 0xE0);
    const QByteArray &jfif = segments.at(1).payload;
    QVERIFY(jfif.size() >= 12);
    QCOMPARE(jfif.left(5), QByteArray("JFIF\0", 5));
    QCOMPARE(byteOf(jfif, 7), 0);  // density unit: none, only the aspect ratio
    QCOMPARE(wordOf(jfif, 8), 1);  // X density
    QCOMPARE(wordOf(jfif, 10), 1); // Y density

    QMap<int, std::array<int, 64>> tables;
    int frames = 0;
    for (const Segment &segment : segments) {
        QVERIFY2(segment.marker != 0xDD, "restart interval written");
        // Any other frame type (progressive, lossless, arithmetic coding) is wrong.
        const bool otherFrame =
            segment.marker >= 0xC1 && segment.marker <= 0xCF && segment.marker != 0xC4;
        QVERIFY2(!otherFrame, qPrintable(QStringLiteral("marker %1").arg(segment.marker, 0, 16)));
        if (segment.marker == 0xDB) {
            for (qsizetype at = 0; at < segment.payload.size(); at += 65) {
                const int precisionAndId = byteOf(segment.payload, at);
                QCOMPARE(precisionAndId >> 4, 0); // 8-bit entries
                QVERIFY(at + 65 <= segment.payload.size());
                std::array<int, 64> values{};
                for (int k = 0; k < 64; ++k) {
                    values[k] = byteOf(segment.payload, at + 1 + k);
                }
                QVERIFY(!tables.contains(precisionAndId & 0x0F));
                tables.insert(precisionAndId & 0x0F, values);
            }
        }
        if (segment.marker == 0xC0) {
            ++frames;
            const QByteArray &sof = segment.payload;
            QCOMPARE(sof.size(), 6 + 3 * 3);
            QCOMPARE(byteOf(sof, 0), 8);
            QCOMPARE(wordOf(sof, 1), 21);
            QCOMPARE(wordOf(sof, 3), 37);
            QCOMPARE(byteOf(sof, 5), 3);
            QCOMPARE(byteOf(sof, 6 + 1), 0x22);
            QCOMPARE(byteOf(sof, 6 + 2), 0);
            QCOMPARE(byteOf(sof, 9 + 1), 0x11);
            QCOMPARE(byteOf(sof, 9 + 2), 1);
            QCOMPARE(byteOf(sof, 12 + 1), 0x11);
            QCOMPARE(byteOf(sof, 12 + 2), 1);
        }
    }
    QCOMPARE(frames, 1);
    QCOMPARE(tables.size(), 2);
    QVERIFY(tables.value(0) == expectedDqt(LuminanceTable));
    QVERIFY(tables.value(1) == expectedDqt(ChrominanceTable));
}

void TestJpegWriter::matchesFloatDctEncodeOnly()
{
    // Large enough that the encoded bytes outgrow the first output chunk.
    const RgbImage image = noisyGradient(640, 480);
    const std::vector<std::uint8_t> bytes = encodeJpeg(image);
    QVERIFY(bytes.size() > 64 * 1024);

    QVERIFY(bytes == referenceEncode(image, JDCT_FLOAT));
    QVERIFY(bytes != referenceEncode(image, JDCT_ISLOW));
}

void TestJpegWriter::emptyPictureGivesNoBytes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("no rows") << 808 << 0;
    QTest::newRow("no columns") << 0 << 529;
    QTest::newRow("nothing") << 0 << 0;
}

void TestJpegWriter::emptyPictureGivesNoBytes()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QVERIFY(encodeJpeg(RgbImage{width, height, {}}).empty());
}

void TestJpegWriter::roundTrips_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("fourColours");
    QTest::newRow("1 x 1") << 1 << 1 << false;
    QTest::newRow("17 x 3") << 17 << 3 << false;
    QTest::newRow("overview 808 x 529") << 808 << 529 << true;
}

void TestJpegWriter::roundTrips()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, fourColours);

    const RgbImage decoded =
        decode(encodeJpeg(filled(width, height, fourColours ? quadrants : allNavy)));
    QCOMPARE(decoded.width, width);
    QCOMPARE(decoded.height, height);

    constexpr int Tolerance = 10;
    if (!fourColours) {
        QVERIFY(closeTo(decoded, 0, 0, Navy, Tolerance));
        QVERIFY(closeTo(decoded, width - 1, height - 1, Navy, Tolerance));
        return;
    }
    // One point inside each quadrant: catches swapped rows, mirrored columns and channel mix-ups.
    QVERIFY(closeTo(decoded, 200, 128, Navy, Tolerance));
    QVERIFY(closeTo(decoded, 600, 128, Yellow, Tolerance));
    QVERIFY(closeTo(decoded, 200, 400, White, Tolerance));
    QVERIFY(closeTo(decoded, 600, 400, Red, Tolerance));
}

void TestJpegWriter::tooWidePictureReportsLibjpegCode()
{
    const RgbImage image = filled(70000, 1, allNavy);
    try {
        encodeJpeg(image);
        QFAIL("no JpegError");
    } catch (const JpegError &error) {
        QCOMPARE(error.code(), static_cast<int>(JERR_IMAGE_TOO_BIG));
        QCOMPARE(QByteArray(error.what()),
                 "JPEG-Fehler #" + QByteArray::number(JERR_IMAGE_TOO_BIG));
    }
    // The failed encode leaves nothing behind that spoils the next one.
    QVERIFY(encodeJpeg(filled(16, 16, allNavy)) ==
            referenceEncode(filled(16, 16, allNavy), JDCT_FLOAT));
}

void TestJpegWriter::rejectsMismatchedPixels_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pixelBytes");
    QTest::newRow("one byte short") << 4 << 3 << 35;
    QTest::newRow("one byte over") << 4 << 3 << 37;
    QTest::newRow("grey, one byte a pixel") << 4 << 3 << 12;
    QTest::newRow("bytes for an empty picture") << 0 << 3 << 9;
    QTest::newRow("negative width") << -4 << 3 << 0;
    QTest::newRow("negative height") << 4 << -3 << 0;
    QTest::newRow("both negative") << -4 << -3 << 36;
}

void TestJpegWriter::rejectsMismatchedPixels()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pixelBytes);
    const RgbImage image{width, height, std::vector<std::uint8_t>(pixelBytes, 0x80)};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, encodeJpeg(image));
}

QTEST_GUILESS_MAIN(TestJpegWriter)
#include "test_jpeg_writer.moc"
