#include "core/catalogue.h"

#include <QSet>
#include <QString>
#include <QTest>

#include <string_view>

using namespace quimo;

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const QString kWindowPrefix = QStringLiteral("QUIMO: Pendrovik: ");

// Which text of the catalogue a table row looks at.
enum class Field { Menu, Chart, Window, Suffix, FirstLine, Continuation };

QString fieldText(Field field, int number)
{
    switch (field) {
    case Field::Menu:
        return text(blockNames(number).menuCaption);
    case Field::Chart:
        return text(blockNames(number).chartLabel);
    case Field::Window:
        return text(blockNames(number).windowCaption);
    case Field::Suffix:
        return text(blockNames(number).snapshotSuffix);
    case Field::FirstLine:
        return text(statement(number).firstLine);
    case Field::Continuation:
        return text(statement(number).continuation);
    }
    return {};
}

// Every text of the catalogue, each with a readable name for failure messages.
QList<std::pair<QString, std::string_view>> allTexts()
{
    QList<std::pair<QString, std::string_view>> texts;
    for (int b = 1; b <= kBlockCount; ++b) {
        const BlockNames &names = blockNames(b);
        texts.append({QStringLiteral("menu %1").arg(b), names.menuCaption});
        texts.append({QStringLiteral("chart %1").arg(b), names.chartLabel});
        texts.append({QStringLiteral("window %1").arg(b), names.windowCaption});
        texts.append({QStringLiteral("suffix %1").arg(b), names.snapshotSuffix});
    }
    for (int q = 1; q <= kQuestionCount; ++q) {
        texts.append({QStringLiteral("question %1").arg(q), statement(q).firstLine});
        texts.append({QStringLiteral("continuation %1").arg(q), statement(q).continuation});
    }
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Field)

class TestCatalogue final : public QObject
{
    Q_OBJECT

private slots:
    void questionPlace_data();
    void questionPlace();
    void questionAtInvertsLookups();
    void blocksHoldEveryQuestionOnce();
    void captionsStartWithNumber();
    void chartLabelLines_data();
    void chartLabelLines();
    void keptSpellings_data();
    void keptSpellings();
    void continuations_data();
    void continuations();
    void onlyFourStatementsContinue();
    void suffixesFollowPattern();
    void windowCaptionsNameTheProgram();
    void umlautsAreUtf8Letters_data();
    void umlautsAreUtf8Letters();
    void textsUseOnlyGermanLetters();
};

void TestCatalogue::questionPlace_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("position");

    QTest::newRow("1") << 1 << 1 << 1;
    QTest::newRow("9") << 9 << 9 << 1;
    QTest::newRow("10") << 10 << 1 << 2;
    QTest::newRow("27") << 27 << 9 << 3;
    QTest::newRow("46") << 46 << 1 << 6;
    QTest::newRow("54") << 54 << 9 << 6;
}

void TestCatalogue::questionPlace()
{
    QFETCH(int, question);
    QFETCH(int, block);
    QFETCH(int, position);

    QCOMPARE(blockOfQuestion(question), block);
    QCOMPARE(positionOfQuestion(question), position);
    QCOMPARE(questionAt(block, position), question);
}

void TestCatalogue::questionAtInvertsLookups()
{
    for (int q = 1; q <= kQuestionCount; ++q) {
        QCOMPARE(questionAt(blockOfQuestion(q), positionOfQuestion(q)), q);
        QCOMPARE(statement(q).question, q);
    }
    for (int b = 1; b <= kBlockCount; ++b) {
        for (int k = 1; k <= kStatementsPerBlock; ++k) {
            const int q = questionAt(b, k);
            QCOMPARE(blockOfQuestion(q), b);
            QCOMPARE(positionOfQuestion(q), k);
        }
    }
}

void TestCatalogue::blocksHoldEveryQuestionOnce()
{
    QSet<int> seen;
    for (int b = 1; b <= kBlockCount; ++b) {
        for (int k = 1; k <= kStatementsPerBlock; ++k) {
            const int q = questionAt(b, k);
            QVERIFY2(q >= 1 && q <= kQuestionCount, qPrintable(QString::number(q)));
            QVERIFY2(!seen.contains(q), qPrintable(QStringLiteral("twice: %1").arg(q)));
            seen.insert(q);
            if (k > 1) {
                QCOMPARE(q - questionAt(b, k - 1), 9);
            }
        }
    }
    QCOMPARE(seen.size(), kQuestionCount);
}

void TestCatalogue::captionsStartWithNumber()
{
    for (int q = 1; q <= kQuestionCount; ++q) {
        const QString caption = text(statement(q).firstLine);
        const QString number = QStringLiteral("%1. ").arg(q, 2);
        QVERIFY2(caption.startsWith(number), qPrintable(caption));
        QVERIFY2(caption.size() > number.size() && caption.at(number.size()) != u' ',
                 qPrintable(caption));
        if (q <= 9) {
            QCOMPARE(caption.at(0), QChar(u' '));
        } else {
            QCOMPARE(caption.at(0), QString::number(q).at(0));
        }
    }
}

void TestCatalogue::chartLabelLines_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("lineBreaks");

    for (int b = 1; b <= kBlockCount; ++b) {
        const bool oneLine = b == 4 || b == 5 || b == 7;
        QTest::addRow("block %d", b) << b << (oneLine ? 0 : 1);
    }
}

void TestCatalogue::chartLabelLines()
{
    QFETCH(int, block);
    QFETCH(int, lineBreaks);

    const QString label = text(blockNames(block).chartLabel);
    QCOMPARE(label.count(u'\r'), lineBreaks);
    QVERIFY(!label.contains(u'\n'));
    QVERIFY(!label.startsWith(u'\r') && !label.endsWith(u'\r'));
}

void TestCatalogue::keptSpellings_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("contained");

    QTest::newRow("window 3 Idden") << Field::Window << 3 << "Idden" << true;
    QTest::newRow("suffix 3 Ideen") << Field::Suffix << 3 << "Ideen" << true;
    QTest::newRow("menu 3 Ideen") << Field::Menu << 3 << "Ideen" << true;
    QTest::newRow("suffix 1 kreiieren") << Field::Suffix << 1 << "kreiieren" << true;
    QTest::newRow("window 1 kreieren") << Field::Window << 1 << "kreieren" << true;
    QTest::newRow("menu 2 plus") << Field::Menu << 2 << "Ergebnisse+Erwartungen" << true;
    QTest::newRow("menu 3 plus") << Field::Menu << 3 << "Ideen + Informationen" << true;
    QTest::newRow("menu 8 plus") << Field::Menu << 8 << "Freude + Freunde" << true;
    QTest::newRow("chart 2 hyphen") << Field::Chart << 2 << "Er-\rwartungen" << true;
    QTest::newRow("chart 3 hyphen") << Field::Chart << 3 << "Infor-\rmationen" << true;
    QTest::newRow("question 5 proTag") << Field::FirstLine << 5 << "proTag," << true;
    QTest::newRow("question 31 TO-Do") << Field::FirstLine << 31 << "TO-Do-Liste" << true;
    QTest::newRow("question 46 auf auf") << Field::FirstLine << 46 << "sind auf auf zwei" << true;
    QTest::newRow("question 27 double blank") << Field::FirstLine << 27 << "zu  können." << true;
    QTest::newRow("question 17 opening quote") << Field::FirstLine << 17 << "\"Geben" << true;
    QTest::newRow("question 17 closing quote") << Field::FirstLine << 17 << "sein\"." << true;
    QTest::newRow("question 17 no typographic quotes")
        << Field::FirstLine << 17 << QStringLiteral("\u201E") << false;
    QTest::newRow("window 1 not kreiieren") << Field::Window << 1 << "kreiieren" << false;
    QTest::newRow("suffix 3 not Idden") << Field::Suffix << 3 << "Idden" << false;
}

void TestCatalogue::keptSpellings()
{
    QFETCH(Field, field);
    QFETCH(int, number);
    QFETCH(QString, needle);
    QFETCH(bool, contained);

    const QString haystack = fieldText(field, number);
    QVERIFY2(haystack.contains(needle) == contained, qPrintable(haystack));
}

void TestCatalogue::continuations_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("firstLineEnd");
    QTest::addColumn<QString>("continuation");

    QTest::newRow("4") << 4 << QStringLiteral("meiner verfüg-")
                       << QStringLiteral("     baren Kapazität.");
    QTest::newRow("16") << 16 << QStringLiteral("Griffbereich - Reichbereich - ")
                        << QStringLiteral("Holbereich organisiert.");
    QTest::newRow("17") << 17 << QStringLiteral("Nehmen soll ausgewogen sein\".")
                        << QStringLiteral("soll ausgewogen sein\".");
    QTest::newRow("33") << 33 << QStringLiteral("in meine Zeit- ")
                        << QStringLiteral("planung pro Woche/pro Monat ein.");
}

void TestCatalogue::continuations()
{
    QFETCH(int, question);
    QFETCH(QString, firstLineEnd);
    QFETCH(QString, continuation);

    const Statement &s = statement(question);
    QVERIFY(s.hasContinuation());
    QCOMPARE(text(s.continuation), continuation);
    const QString firstLine = text(s.firstLine);
    QVERIFY2(firstLine.endsWith(firstLineEnd), qPrintable(firstLine));
}

void TestCatalogue::onlyFourStatementsContinue()
{
    const QSet<int> continued{4, 16, 17, 33};
    for (int q = 1; q <= kQuestionCount; ++q) {
        QVERIFY2(statement(q).hasContinuation() == continued.contains(q),
                 qPrintable(QString::number(q)));
        // Only a divided statement may end its first line in a blank or a hyphen.
        const QString firstLine = text(statement(q).firstLine);
        if (!continued.contains(q)) {
            QVERIFY2(firstLine.endsWith(u'.'), qPrintable(firstLine));
        }
    }
}

void TestCatalogue::suffixesFollowPattern()
{
    for (int b = 1; b <= kBlockCount; ++b) {
        const QString suffix = text(blockNames(b).snapshotSuffix);
        const QString start = QStringLiteral("-%1").arg(b);
        QVERIFY2(suffix.startsWith(start), qPrintable(suffix));
        QVERIFY2(suffix.endsWith(QStringLiteral(".jpg")), qPrintable(suffix));
        const QString name = suffix.mid(start.size(), suffix.size() - start.size() - 4);

        // The picture names spell two words differently from the window titles.
        QString title = text(blockNames(b).windowCaption).mid(kWindowPrefix.size());
        title.replace(QStringLiteral("Idden"), QStringLiteral("Ideen"));
        title.replace(QStringLiteral("kreieren"), QStringLiteral("kreiieren"));
        QCOMPARE(name, title);
    }
}

void TestCatalogue::windowCaptionsNameTheProgram()
{
    for (int b = 1; b <= kBlockCount; ++b) {
        const QString caption = text(blockNames(b).windowCaption);
        QVERIFY2(caption.startsWith(kWindowPrefix), qPrintable(caption));
        QVERIFY2(caption.size() > kWindowPrefix.size() && caption.at(kWindowPrefix.size()) != u' ',
                 qPrintable(caption));
    }
}

void TestCatalogue::umlautsAreUtf8Letters_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("length");

    QTest::newRow("menu 5") << Field::Menu << 5 << QStringLiteral("Prioritäten setzen") << 18;
    QTest::newRow("suffix 5") << Field::Suffix << 5 << QStringLiteral("-5Prioritäten setzen.jpg")
                              << 24;
    QTest::newRow("question 3") << Field::FirstLine << 3
                                << QStringLiteral(" 3. Ich sammle regelmäßig Informationen.") << 40;
    QTest::newRow("question 6")
        << Field::FirstLine << 6
        << QStringLiteral(" 6. Ich habe eine schriftliche Übersicht über alle Routineaufgaben "
                          "pro Jahr.")
        << 76;
    QTest::newRow("question 45") << Field::FirstLine << 45
                                 << QStringLiteral("45. Ich genieße meine Erfolge.") << 30;
}

void TestCatalogue::umlautsAreUtf8Letters()
{
    QFETCH(Field, field);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QFETCH(int, length);

    // One character per letter: a Latin-1 byte or a doubly encoded letter changes the length.
    const QString actual = fieldText(field, number);
    QCOMPARE(actual, expected);
    QCOMPARE(actual.size(), length);
}

void TestCatalogue::textsUseOnlyGermanLetters()
{
    // Besides printable ASCII only these letters occur; anything else is an encoding slip
    // such as a Latin-1 byte, a typographic quote or a non-breaking blank.
    const QString german = QStringLiteral("äöüÜß");
    for (const auto &[name, utf8] : allTexts()) {
        const QString decoded = text(utf8);
        for (const QChar c : decoded) {
            const bool ascii = c.unicode() >= 0x20 && c.unicode() < 0x7F;
            const bool lineBreak = c == u'\r' && name.startsWith(QStringLiteral("chart"));
            QVERIFY2(ascii || lineBreak || german.contains(c),
                     qPrintable(QStringLiteral("%1: U+%2 in \"%3\"")
                                    .arg(name)
                                    .arg(c.unicode(), 4, 16, QChar(u'0'))
                                    .arg(decoded)));
        }
    }
}

QTEST_APPLESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
