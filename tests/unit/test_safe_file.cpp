#include "core/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using quimo::FileCreateError;
using quimo::writeFileReplacing;

namespace {

const QByteArray EarlierPicture = "earlier picture";
const std::string DisplayName = "QUIMO-4Teilen und gewinnen.jpg";

std::vector<std::uint8_t> bytesOf(const QByteArray &text)
{
    return {text.begin(), text.end()};
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return file.readAll();
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Every entry of the folder, hidden ones included, so a forgotten temporary file shows.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

enum Outcome {
    RightError = 0,
    WrongMessage = 1,
    OtherException = 2,
    NoError = 3,
    ChildDied = 4,
};

// Runs the write in a child process, so that a file size limit stays with the child; the exit
// code says how the write ended.
int outcomeInChild(const std::string &path, const std::vector<std::uint8_t> &bytes,
                   rlim_t fileSizeLimit)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (fileSizeLimit != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(ChildDied);
            }
        }
        int code = NoError;
        try {
            writeFileReplacing(path, DisplayName, bytes);
        } catch (const FileCreateError &error) {
            code =
                std::string(error.what()) == "Datei " + DisplayName + " kann nicht erstellt werden"
                    ? RightError
                    : WrongMessage;
        } catch (...) {
            code = OtherException;
        }
        ::_exit(code);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return ChildDied;
    }
    return WEXITSTATUS(status);
}

} // namespace

class TestSafeFile final : public QObject
{
    Q_OBJECT

private slots:
    void writesNewFile();
    void replacesExistingFile();
    void failureLeavesEarlierFile_data();
    void failureLeavesEarlierFile();
};

void TestSafeFile::writesNewFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath("QUIMO.jpg");
    const QByteArray picture("\xFF\xD8 picture \x00 bytes \xFF\xD9", 22);

    writeFileReplacing(path.toStdString(), DisplayName, bytesOf(picture));

    QCOMPARE(contentsOf(path), picture);
    QCOMPARE(entriesOf(folder.path()), QStringList{"QUIMO.jpg"});
    struct stat info
    {
    };
    QCOMPARE(::stat(path.toLocal8Bit().constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0644U);
}

void TestSafeFile::replacesExistingFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath("QUIMO.jpg");
    // Longer than the new picture: a rewrite in place without truncation would leave its tail.
    QVERIFY(writeText(path, EarlierPicture + EarlierPicture + EarlierPicture));

    writeFileReplacing(path.toStdString(), DisplayName, bytesOf("new"));

    QCOMPARE(contentsOf(path), QByteArray("new"));
    QCOMPARE(entriesOf(folder.path()), QStringList{"QUIMO.jpg"});
}

void TestSafeFile::failureLeavesEarlierFile_data()
{
    QTest::addColumn<QString>("target");       // relative to the folder
    QTest::addColumn<bool>("targetIsFolder");  // a folder stands where the file should go
    QTest::addColumn<bool>("earlierReadOnly"); // the earlier picture has mode 0444
    QTest::addColumn<bool>("diskFull");        // files may not grow beyond 100 bytes

    QTest::newRow("folder does not exist") << "missing/QUIMO.jpg" << false << false << false;
    QTest::newRow("a folder in the way") << "QUIMO.jpg" << true << false << false;
    QTest::newRow("read-only earlier picture") << "earlier.jpg" << false << true << false;
    QTest::newRow("disk full") << "earlier.jpg" << false << false << true;
}

void TestSafeFile::failureLeavesEarlierFile()
{
    QFETCH(QString, target);
    QFETCH(bool, targetIsFolder);
    QFETCH(bool, earlierReadOnly);
    QFETCH(bool, diskFull);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString earlier = folder.filePath("earlier.jpg");
    QVERIFY(writeText(earlier, EarlierPicture));
    if (earlierReadOnly) {
        QVERIFY(
            QFile::setPermissions(earlier, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    if (targetIsFolder) {
        QVERIFY(QDir(folder.path()).mkdir(target));
    }
    const QStringList entriesBefore = entriesOf(folder.path());

    const std::vector<std::uint8_t> picture(10 * 1024, 0xA5);
    QCOMPARE(outcomeInChild(folder.filePath(target).toStdString(), picture,
                            diskFull ? 100 : RLIM_INFINITY),
             int(RightError));

    QCOMPARE(contentsOf(earlier), EarlierPicture);
    QCOMPARE(entriesOf(folder.path()), entriesBefore);
    if (targetIsFolder) {
        QVERIFY(QFileInfo(folder.filePath(target)).isDir());
    }
    if (earlierReadOnly) {
        struct stat info
        {
        };
        QCOMPARE(::stat(earlier.toLocal8Bit().constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0444U);
        // Let QTemporaryDir remove it again.
        QFile::setPermissions(earlier, QFile::ReadOwner | QFile::WriteOwner);
    }
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "test_safe_file.moc"
