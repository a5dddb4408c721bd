#include "answer_files.h"
#include "core/catalogue.h"
#include "ui/application.h"
#include "ui/batch_export.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace quimo;
using quimo::testing::recordBytes;
using quimo::testing::setBlock;
using quimo::testing::uniformRecord;
using quimo::testing::writeBytes;

namespace {

// Block 1 all "fast immer" (100), block 2 one unanswered (83), the rest "manchmal" (60).
AnswerRecord knownRecord()
{
    AnswerRecord record = uniformRecord(2);
    setBlock(record, 1, {4, 4, 4, 4, 4, 4});
    setBlock(record, 2, {4, 4, -1, 4, 4, 4});
    return record;
}

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestBatchExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString file(const QString &name) const { return dir_.filePath(name); }

private slots:
    void init()
    {
        QDir folder(dir_.path());
        for (const QString &entry :
             folder.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
            QFileInfo(folder.filePath(entry)).isDir()
                ? QDir(folder.filePath(entry)).removeRecursively()
                : folder.remove(entry);
        }
    }

    void tenPicturesWithTheProgramsNames()
    {
        QVERIFY(writeBytes(file("anna.dat"), recordBytes(knownRecord())));
        ui::ExportOptions options;
        options.files = {file("anna.dat")};
        QString log;
        QTextStream stream(&log);
        QCOMPARE(ui::runExport(options, stream), 0);

        struct Expected
        {
            QString name;
            QSize size;
        };
        QList<Expected> expected{{"anna.jpg", {808, 529}}};
        const QList<int> tall{1, 5, 7, 9};
        for (int block = 1; block <= kBlockCount; ++block) {
            expected.append({"anna" + QString::fromUtf8(blockNames(block).snapshotSuffix),
                             {752, tall.contains(block) ? 281 : 273}});
        }
        for (const Expected &picture : expected) {
            const QImage image(file(picture.name));
            QVERIFY2(!image.isNull(), qPrintable(picture.name));
            QCOMPARE(image.size(), picture.size);
        }
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 expected.size() + 1);
        QVERIFY(log.contains("[1/1] " + file("anna.dat") + " \u2026 ok"));

        // The overview shows the chart: cream background, block 1's navy bar at full height.
        const QImage overview(file("anna.jpg"));
        const QColor cream = overview.pixelColor(30, 20);
        QVERIFY(qAbs(cream.red() - 255) < 12 && qAbs(cream.green() - 251) < 12 &&
                qAbs(cream.blue() - 240) < 12);
    }

    void outputFolderAndBadFilesInTheTable()
    {
        QVERIFY(writeBytes(file("anna.dat"), recordBytes(knownRecord())));
        QVERIFY(writeBytes(file("bad.dat"), QByteArray(10, 'x')));
        QVERIFY(writeBytes(file("bernd.dat"), recordBytes(uniformRecord(-1))));
        QVERIFY(QDir(dir_.path()).mkdir("out"));

        ui::ExportOptions options;
        options.files = {file("anna.dat"), file("bad.dat"), file("bernd.dat")};
        options.outDir = file("out");
        options.csvPath = file("gruppe.csv");
        QString log;
        QTextStream stream(&log);
        QCOMPARE(ui::runExport(options, stream), 1);

        QVERIFY(log.contains("Datei l\u00e4sst sich nicht \u00f6ffnen: " + file("bad.dat")));
        QVERIFY(log.contains("[3/3] " + file("bernd.dat") + " \u2026 ok"));
        QVERIFY(QFile::exists(file("out/anna.jpg")));
        QVERIFY(QFile::exists(file("out/bernd-9Initiative ergreifen.jpg")));
        QVERIFY(!QFile::exists(file("anna.jpg")));

        QFile csv(file("gruppe.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // spreadsheets then read it as UTF-8
        const QStringList rows = QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows[0].startsWith("Datei;Ziele und Visionen kreieren;"));
        QVERIFY(rows[0].endsWith(";Unbeantwortet"));
        QCOMPARE(rows[1], file("anna.dat") + ";100;83;60;60;60;60;60;60;60;1");
        QCOMPARE(rows[2], file("bernd.dat") + ";0;0;0;0;0;0;0;0;0;54");
    }

    void csvFieldsWithSeparatorsAreQuoted()
    {
        ui::ExportedFile exported;
        exported.name = "gruppe;a\"b.dat";
        const QString table = QString::fromUtf8(ui::summaryTable({exported}).mid(3));
        QVERIFY(table.contains("\r\n\"gruppe;a\"\"b.dat\";0;"));
    }

    // The document holds text and vector graphics, one page for the overview and one a block.
    void documentOfTenPages()
    {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            QSKIP("poppler-utils are not installed");
        }
        QVERIFY(writeBytes(file("anna.dat"), recordBytes(knownRecord())));
        ui::ExportOptions options;
        options.files = {file("anna.dat")};
        options.pdf = true;
        QString log;
        QTextStream stream(&log);
        QCOMPARE(ui::runExport(options, stream), 0);

        const QString info = runTool("pdfinfo", {file("anna.pdf")});
        QVERIFY(info.contains(QRegularExpression("Pages:\\s+10\\n")));
        QVERIFY(info.contains("A4"));
        const QString text = runTool("pdftotext", {file("anna.pdf"), "-"});
        QVERIFY(text.contains("Meine Ziele habe ich schriftlich niedergelegt."));
        QVERIFY(text.contains("Ich halte mich an die sechs goldenen Ordnungsregeln."));
        QCOMPARE(text.count(file("anna.dat")), 10);
        const QString images = runTool("pdfimages", {"-list", file("anna.pdf")});
        QVERIFY2(images.count('\n') <= 2, qPrintable(images)); // header lines only
    }

    // An earlier picture stays whole when the new one cannot be written.
    void failedWriteKeepsTheEarlierPicture()
    {
        QVERIFY(writeBytes(file("anna.dat"), recordBytes(knownRecord())));
        QVERIFY(writeBytes(file("anna.jpg"), "earlier"));
        QVERIFY(QDir(dir_.path()).mkdir("anna-4Teilen und gewinnen.jpg"));
        ui::ExportOptions options;
        options.files = {file("anna.dat")};
        QString log;
        QTextStream stream(&log);
        QCOMPARE(ui::runExport(options, stream), 1);
        QVERIFY(log.contains("Datei " + file("anna-4Teilen und gewinnen.jpg") +
                             " kann nicht erstellt werden"));
        QVERIFY(QImage(file("anna.jpg")).size() == QSize(808, 529)); // written before the failure
        QVERIFY(QFileInfo(file("anna-4Teilen und gewinnen.jpg")).isDir());
        for (const QString &entry : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden)) {
            QVERIFY2(!entry.startsWith('.'), qPrintable(entry)); // no temporary file left
        }
    }
};

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    quimo::ui::setUpFonts();
    TestBatchExport test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_export.moc"
