#include "ui/snapshot.h"

#include "answer_files.h"
#include "dialog_answers.h"
#include "ui/application.h"
#include "ui/block_detail_window.h"
#include "ui/overview_window.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <optional>

#include <sys/resource.h>

using namespace quimo::testing;
using quimo::Session;
using quimo::ui::BlockDetailWindow;
using quimo::ui::OverviewWindow;

namespace {

const QString block4Picture = QStringLiteral("QUIMO-4Teilen und gewinnen.jpg");
const QByteArray earlierPicture("an earlier picture, not to be touched");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isJpeg(const QString &path, QSize size)
{
    const QByteArray bytes = contents(path);
    const QImage image = QImage::fromData(bytes, "JPEG");
    return bytes.startsWith("\xFF\xD8") && image.size() == size;
}

// Temporary files of the safe write are hidden entries beside the picture.
QStringList hiddenLeftovers(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".QUIMO*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::System);
}

bool near(QRgb pixel, QColor expected, int tolerance = 8)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance &&
           qAbs(qGreen(pixel) - expected.green()) <= tolerance &&
           qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

Session picturesWanted()
{
    Session session;
    session.answers = uniformRecord(2);
    session.baseName = "QUIMO";
    session.saveSnapshots = true;
    return session;
}

QPushButton *closeButtonOf(const QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

// Lowers the largest file this process may write, as a full disk would stop the write.
class FileSizeLimit final
{
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { lift(); }
    void lift()
    {
        if (active_) {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, previous_);
            active_ = false;
        }
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
    bool active_ = true;
};

enum class Failure { DirectoryInTheWay, FullDisk, ReadOnlyPicture, WindowTooSmall };

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestSnapshot final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void detailCrop_data();
    void detailCrop();
    void detailPicture_data();
    void detailPicture();
    void detailWithoutPicture_data();
    void detailWithoutPicture();
    void detailPictureFailure_data();
    void detailPictureFailure();
    void overviewPicture();
    void overviewPictureFolderGone();

private:
    QString startFolder_;
};

void TestSnapshot::initTestCase()
{
    startFolder_ = QDir::currentPath();
}

void TestSnapshot::cleanup()
{
    QDir::setCurrent(startFolder_);
}

void TestSnapshot::detailCrop_data()
{
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<int>("buttonTop");
    QTest::addColumn<int>("crop");

    QTest::newRow("blocks 1, 5, 9") << 362 << 265 << 81;
    QTest::newRow("blocks 2, 3, 4, 6, 8") << 362 << 257 << 89;
    QTest::newRow("block 7") << 375 << 265 << 94;
    QTest::newRow("down to the button top + 16") << 281 << 265 << 0;
    QTest::newRow("one row less wraps in 16 bits") << 280 << 265 << 65535;
    QTest::newRow("heights taken by their low 16 bits") << 65536 + 362 << 265 << 81;
}

void TestSnapshot::detailCrop()
{
    QFETCH(int, outerHeight);
    QFETCH(int, buttonTop);
    QFETCH(int, crop);
    QCOMPARE(int(quimo::ui::detailCrop(outerHeight, buttonTop)), crop);
}

void TestSnapshot::detailPicture_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QSize>("grow");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("pictureSize");

    QTest::newRow("block 4") << 4 << QSize(0, 0) << block4Picture << QSize(752, 273);
    QTest::newRow("block 2") << 2 << QSize(0, 0)
                             << "QUIMO-2Ergebnisse und Erwartungen strukturieren.jpg"
                             << QSize(752, 273);
    QTest::newRow("block 1") << 1 << QSize(0, 0) << "QUIMO-1Ziele und Visionen kreiieren.jpg"
                             << QSize(752, 281);
    QTest::newRow("block 5") << 5 << QSize(0, 0) << "QUIMO-5Prioritäten setzen.jpg"
                             << QSize(752, 281);
    QTest::newRow("block 9") << 9 << QSize(0, 0) << "QUIMO-9Initiative ergreifen.jpg"
                             << QSize(752, 281);
    QTest::newRow("block 7, a taller window")
        << 7 << QSize(0, 0) << "QUIMO-7Ordnung schaffen.jpg" << QSize(752, 281);
    QTest::newRow("block 4, wider and taller")
        << 4 << QSize(50, 40) << block4Picture << QSize(802, 273);
    QTest::newRow("block 7, wider and taller")
        << 7 << QSize(50, 40) << "QUIMO-7Ordnung schaffen.jpg" << QSize(802, 281);
    QTest::newRow("block 4, down to the button top + 16")
        << 4 << QSize(0, 273 - 362) << block4Picture << QSize(752, 273);
}

void TestSnapshot::detailPicture()
{
    QFETCH(int, block);
    QFETCH(QSize, grow);
    QFETCH(QString, fileName);
    QFETCH(QSize, pictureSize);

    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const Session session = picturesWanted();
    MessageBoxRecorder boxes;
    BlockDetailWindow window(block, session, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (!grow.isNull()) {
        window.resize(window.size() + grow);
        QTRY_COMPARE(window.size().width(), pictureSize.width());
    }

    QTest::mouseClick(closeButtonOf(window, "BitBtn1"), Qt::LeftButton);
    QVERIFY(boxes.texts().isEmpty());
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));

    const QString path = dir.filePath(fileName);
    QVERIFY2(QFileInfo::exists(path), qPrintable(QDir(dir.path()).entryList().join(", ")));
    QVERIFY(isJpeg(path, pictureSize));
    // The window's white ground, near its top left corner.
    QVERIFY(near(QImage::fromData(contents(path), "JPEG").pixel(4, 4), Qt::white));
    QCOMPARE(hiddenLeftovers(dir.path()), QStringList());
}

void TestSnapshot::detailWithoutPicture_data()
{
    QTest::addColumn<bool>("saveSnapshots");
    QTest::addColumn<bool>("byCloseBox");

    QTest::newRow("no pictures wanted, S&chließen") << false << false;
    QTest::newRow("pictures wanted, close box") << true << true;
}

void TestSnapshot::detailWithoutPicture()
{
    QFETCH(bool, saveSnapshots);
    QFETCH(bool, byCloseBox);

    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    Session session = picturesWanted();
    session.saveSnapshots = saveSnapshots;
    BlockDetailWindow window(4, session, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (byCloseBox) {
        window.close();
    } else {
        QTest::mouseClick(closeButtonOf(window, "BitBtn1"), Qt::LeftButton);
    }
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TestSnapshot::detailPictureFailure_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QString>("message");

    const QString cannotCreate =
        QStringLiteral("^Datei QUIMO-4Teilen und gewinnen\\.jpg kann nicht erstellt werden\\.$");
    QTest::newRow("a folder stands where the picture goes")
        << Failure::DirectoryInTheWay << false << cannotCreate;
    QTest::newRow("disk full, earlier picture") << Failure::FullDisk << true << cannotCreate;
    QTest::newRow("earlier picture read-only") << Failure::ReadOnlyPicture << true << cannotCreate;
    QTest::newRow("window shorter than the button top + 16")
        << Failure::WindowTooSmall << true << QStringLiteral("zu klein.*\\.$");
}

void TestSnapshot::detailPictureFailure()
{
    QFETCH(Failure, failure);
    QFETCH(bool, earlier);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString path = dir.filePath(block4Picture);
    if (earlier) {
        QVERIFY(writeBytes(path, earlierPicture));
    }
    if (failure == Failure::DirectoryInTheWay) {
        QVERIFY(QDir(dir.path()).mkdir(block4Picture));
    }
    if (failure == Failure::ReadOnlyPicture) {
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    }

    const Session session = picturesWanted();
    MessageBoxRecorder boxes;
    BlockDetailWindow window(4, session, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize designSize = window.size();
    if (failure == Failure::WindowTooSmall) {
        window.resize(752, 257 + 16 - 1);
        QTRY_COMPARE(window.frameGeometry().height(), 272);
    }
    QPushButton *closeButton = closeButtonOf(window, "BitBtn1");

    {
        std::optional<FileSizeLimit> limit;
        if (failure == Failure::FullDisk) {
            limit.emplace(4096);
        }
        QTest::mouseClick(closeButton, Qt::LeftButton);
    }

    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().at(0).caption, QStringLiteral("QUIMO Auswertung Harnik-QDX"));
    QCOMPARE(boxes.boxes().at(0).icon, QMessageBox::Critical);
    const QString text = boxes.texts().at(0);
    QVERIFY2(QRegularExpression(message).match(text).hasMatch(), qPrintable(text));
    QVERIFY(window.isVisible());
    QCOMPARE(hiddenLeftovers(dir.path()), QStringList());
    if (failure == Failure::DirectoryInTheWay) {
        QVERIFY(QFileInfo(path).isDir());
    } else if (earlier) {
        QCOMPARE(contents(path), earlierPicture);
    } else {
        QVERIFY(!QFileInfo::exists(path));
    }

    // Once the cause is gone, the same button saves and closes.
    switch (failure) {
    case Failure::DirectoryInTheWay:
        QVERIFY(QDir(dir.path()).rmdir(block4Picture));
        break;
    case Failure::FullDisk:
        break;
    case Failure::ReadOnlyPicture:
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
        break;
    case Failure::WindowTooSmall:
        window.resize(designSize);
        QTRY_COMPARE(window.size(), designSize);
        break;
    }
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(boxes.boxes().size(), 1);
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(isJpeg(path, QSize(752, 273)));
    QCOMPARE(hiddenLeftovers(dir.path()), QStringList());
}

void TestSnapshot::overviewPicture()
{
    QTemporaryDir dir;
    const QString dataFile = dir.filePath(QStringLiteral("QUIMO.dat"));
    QVERIFY(writeBytes(dataFile, recordBytes(uniformRecord(3))));
    MessageBoxRecorder boxes;
    boxes.queue(BoxReply::ClickYes);
    OpenDialogAnswer dialog(dataFile);
    OverviewWindow window;
    window.show();
    QTRY_COMPARE(dialog.shown, 1);
    QVERIFY(window.session().saveSnapshots);
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(closeButtonOf(window, "button_ende"), Qt::LeftButton);
    QCOMPARE(boxes.boxes().size(), 1); // the question only
    QTRY_VERIFY(!window.isVisible());

    const QString picture = dir.filePath(QStringLiteral("QUIMO.jpg"));
    QVERIFY(isJpeg(picture, QSize(808, 529)));
    // Client and picture rows coincide without a frame; the chart starts at (8, 11).
    const QImage image = QImage::fromData(contents(picture), "JPEG");
    const QColor cream(255, 251, 240);
    QVERIFY(near(image.pixel(8 + 6, 11 + 5), cream));
    QVERIFY(near(image.pixel(8 + 750, 11 + 480), cream));
    QCOMPARE(hiddenLeftovers(dir.path()), QStringList());
}

void TestSnapshot::overviewPictureFolderGone()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Daten")));
    const QString folder = dir.filePath(QStringLiteral("Daten"));
    const QString dataFile = folder + QStringLiteral("/QUIMO.dat");
    QVERIFY(writeBytes(dataFile, recordBytes(uniformRecord(3))));
    MessageBoxRecorder boxes;
    boxes.queue(BoxReply::ClickYes);
    OpenDialogAnswer dialog(dataFile);
    OverviewWindow window;
    window.show();
    QTRY_COMPARE(dialog.shown, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QDir(folder).removeRecursively());

    QPushButton *closeButton = closeButtonOf(window, "button_ende");
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(boxes.boxes().size(), 2);
    QCOMPARE(boxes.boxes().at(1).icon, QMessageBox::Critical);
    QCOMPARE(boxes.texts().at(1),
             QStringLiteral("Datei %1/QUIMO.jpg kann nicht erstellt werden.").arg(folder));
    QVERIFY(window.isVisible());
    QVERIFY(window.session().saveSnapshots);

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Daten")));
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(boxes.boxes().size(), 2);
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(isJpeg(folder + QStringLiteral("/QUIMO.jpg"), QSize(808, 529)));
    QCOMPARE(hiddenLeftovers(folder), QStringList());
}

int main(int argc, char **argv)
{
    QTemporaryDir screenConfig;
    useExactOffscreenScreen(screenConfig);
    // Clicks go through the program's own application object, which shows the error box.
    quimo::ui::Application app(argc, argv);
    quimo::ui::setUpFonts();
    TestSnapshot test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_snapshot.moc"
