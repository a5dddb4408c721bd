#include "answer_files.h"
#include "core/answer_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

using namespace quimo;
using quimo::testing::recordBytes;
using quimo::testing::writeBytes;

class TestAnswerRecord : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }

    static AnswerRecord patterned()
    {
        AnswerRecord record;
        for (int q = 1; q <= AnswerRecord::kQuestionCount; ++q) {
            record.setAnswer(q, q % 7 - 1);
        }
        return record;
    }

private slots:
    void answerLayout_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<int>("offset");
        QTest::newRow("first") << 1 << 44;
        QTest::newRow("second") << 2 << 48;
        QTest::newRow("last") << 54 << 256;
    }

    // Little-endian, signed, at 44 + 4 (q - 1): the questionnaire program writes it so.
    void answerLayout()
    {
        QFETCH(int, question);
        QFETCH(int, offset);
        AnswerRecord record;
        record.bytes[std::size_t(offset)] = 0xfe;
        record.bytes[std::size_t(offset) + 1] = 0xff;
        record.bytes[std::size_t(offset) + 2] = 0xff;
        record.bytes[std::size_t(offset) + 3] = 0xff;
        QCOMPARE(record.answer(question), -2);
        record.setAnswer(question, 0x01020304);
        QCOMPARE(int(record.bytes[std::size_t(offset)]), 4);
        QCOMPARE(int(record.bytes[std::size_t(offset) + 3]), 1);
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("ok");

        const QByteArray record = recordBytes(patterned());
        QByteArray other = recordBytes(quimo::testing::uniformRecord(4));

        QTest::newRow("exactly one record") << record << true;
        QTest::newRow("two records, first counts") << record + other << true;
        QTest::newRow("one byte more") << record + 'x' << true;
        QTest::newRow("263 bytes") << record.left(263) << false;
        QTest::newRow("one byte") << record.left(1) << false;
        QTest::newRow("empty") << QByteArray() << false;
    }

    void reads()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, ok);
        QVERIFY(writeBytes(path("QUIMO.dat"), content));

        AnswerRecord record = quimo::testing::uniformRecord(3);
        QCOMPARE(readAnswerRecord(path("QUIMO.dat").toStdString(), record), ok);
        if (ok) {
            const AnswerRecord expected = patterned();
            for (int q = 1; q <= AnswerRecord::kQuestionCount; ++q) {
                QCOMPARE(record.answer(q), expected.answer(q));
            }
        }
    }

    void extremeValuesReadBack_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("no answer") << -1;
        QTest::newRow("INT_MIN") << INT_MIN;
        QTest::newRow("INT_MAX") << INT_MAX;
        QTest::newRow("above the scale") << 9;
    }

    void extremeValuesReadBack()
    {
        QFETCH(int, value);
        AnswerRecord written;
        written.setAnswer(17, value);
        QVERIFY(writeBytes(path("values.dat"), recordBytes(written)));
        AnswerRecord read;
        QVERIFY(readAnswerRecord(path("values.dat").toStdString(), read));
        QCOMPARE(read.answer(17), value);
        QCOMPARE(read.answer(16), 0);
    }

    // Bytes 0..43 and 260..263 belong to the questionnaire program and change no answer.
    void foreignBytesChangeNoAnswer()
    {
        AnswerRecord record = patterned();
        for (std::size_t i = 0; i < 44; ++i) {
            record.bytes[i] = 0xff;
        }
        for (std::size_t i = 260; i < 264; ++i) {
            record.bytes[i] = 0xaa;
        }
        QVERIFY(writeBytes(path("foreign.dat"), recordBytes(record)));
        AnswerRecord read;
        QVERIFY(readAnswerRecord(path("foreign.dat").toStdString(), read));
        const AnswerRecord plain = patterned();
        for (int q = 1; q <= AnswerRecord::kQuestionCount; ++q) {
            QCOMPARE(read.answer(q), plain.answer(q));
        }
    }

    // The program never writes the data file, so a write-protected one is read as usual.
    void readOnlyFileIsRead()
    {
        const QString file = path("readonly.dat");
        QVERIFY(writeBytes(file, recordBytes(patterned())));
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        AnswerRecord read;
        QVERIFY(readAnswerRecord(file.toStdString(), read));
        QCOMPARE(read.answer(1), patterned().answer(1));
    }

    void notARegularFileFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("directory") << "directory";
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("/dev/zero") << "devzero";
        QTest::newRow("symlink to /dev/zero") << "devzero-link";
        QTest::newRow("dangling symlink") << "dangling";
    }

    void notARegularFileFails()
    {
        QFETCH(QString, kind);
        QString file = path(kind);
        const QByteArray native = QFile::encodeName(file);
        if (kind == "directory") {
            QVERIFY(QDir().mkpath(file));
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(native.constData(), 0644) == 0);
        } else if (kind == "devzero") {
            file = "/dev/zero";
        } else if (kind == "devzero-link") {
            QVERIFY(::symlink("/dev/zero", native.constData()) == 0);
        } else if (kind == "dangling") {
            QVERIFY(::symlink(QFile::encodeName(path("nowhere")).constData(), native.constData()) ==
                    0);
        }

        AnswerRecord record = quimo::testing::uniformRecord(2);
        // A FIFO without a writer must not block: a hang here ends in the test's time-out.
        QVERIFY(!readAnswerRecord(file.toStdString(), record));
        QCOMPARE(record.answer(1), 2);
    }
};

QTEST_GUILESS_MAIN(TestAnswerRecord)
#include "test_answer_record.moc"
