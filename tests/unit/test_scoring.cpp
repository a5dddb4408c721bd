#include "answer_files.h"
#include "core/scoring.h"

#include <QTest>

#include <climits>

using namespace quimo;
using quimo::testing::setBlock;
using quimo::testing::uniformRecord;

using Values = QList<int>;

class TestScoring : public QObject
{
    Q_OBJECT

private slots:
    void blockScores_data()
    {
        QTest::addColumn<Values>("answers"); // the six answers of block 3
        QTest::addColumn<quint64>("total");
        QTest::addColumn<quint64>("score");

        QTest::newRow("none answered") << Values{-1, -1, -1, -1, -1, -1} << 0ull << 0ull;
        QTest::newRow("all fast nie") << Values{0, 0, 0, 0, 0, 0} << 6ull << 20ull;
        QTest::newRow("all fast immer") << Values{4, 4, 4, 4, 4, 4} << 30ull << 100ull;
        QTest::newRow("one unanswered") << Values{4, 4, -1, 4, 4, 4} << 25ull << 83ull;
        QTest::newRow("29 truncates to 96") << Values{4, 4, 4, 4, 4, 3} << 29ull << 96ull;
        QTest::newRow("a single answer") << Values{0, -1, -1, -1, -1, -1} << 1ull << 3ull;
        QTest::newRow("values above the scale") << Values{9, 9, 9, 9, 9, 9} << 60ull << 200ull;
        QTest::newRow("INT_MIN adds nothing")
            << Values{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 4} << 5ull << 16ull;
        // Corrupt values must not wrap around to a small, plausible-looking score.
        QTest::newRow("INT_MAX does not wrap")
            << Values{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX} << 6ull * 2147483648ull
            << 6ull * 2147483648ull * 100 / 30;
    }

    void blockScores()
    {
        QFETCH(Values, answers);
        QFETCH(quint64, total);
        QFETCH(quint64, score);

        AnswerRecord record = uniformRecord(2);
        setBlock(record, 3,
                 {answers[0], answers[1], answers[2], answers[3], answers[4], answers[5]});
        const BlockTotals totals = blockTotals(record);
        QCOMPARE(quint64(totals[2]), total);
        QCOMPARE(quint64(blockScore(totals[2])), score);
        // The other blocks are untouched: 6 answers of 2 -> 18 points -> 60 %.
        for (int block : {1, 2, 4, 5, 6, 7, 8, 9}) {
            QCOMPARE(quint64(totals[std::size_t(block - 1)]), 18ull);
        }
    }

    // Question q counts for block ((q - 1) mod 9) + 1, not for a block of six consecutive ones.
    void answersCountForTheirInterleavedBlock()
    {
        AnswerRecord record = uniformRecord(-1);
        record.setAnswer(10, 4); // block 1, position 2
        record.setAnswer(54, 0); // block 9, position 6
        const BlockTotals totals = blockTotals(record);
        QCOMPARE(quint64(totals[0]), 5ull);
        QCOMPARE(quint64(totals[8]), 1ull);
        QCOMPARE(quint64(totals[1]), 0ull);
    }

    void unansweredStatements()
    {
        AnswerRecord record = uniformRecord(0);
        QCOMPARE(unansweredCount(record), 0);
        record.setAnswer(1, -1);
        record.setAnswer(54, INT_MIN);
        record.setAnswer(27, INT_MAX);
        QCOMPARE(unansweredCount(record), 2);
        QCOMPARE(unansweredCount(uniformRecord(-5)), 54);
    }

    void gaugeValues_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("percent");
        QTest::newRow("-7") << -7 << 0;
        QTest::newRow("-1") << -1 << 0;
        QTest::newRow("0") << 0 << 20;
        QTest::newRow("1") << 1 << 40;
        QTest::newRow("2") << 2 << 60;
        QTest::newRow("3") << 3 << 80;
        QTest::newRow("4") << 4 << 100;
        QTest::newRow("9") << 9 << 100;
        QTest::newRow("INT_MIN") << INT_MIN << 0;
        QTest::newRow("INT_MAX") << INT_MAX << 100;
    }

    void gaugeValues()
    {
        QFETCH(int, answer);
        QFETCH(int, percent);
        QCOMPARE(gaugeValue(answer), percent);
    }
};

QTEST_GUILESS_MAIN(TestScoring)
#include "test_scoring.moc"
