#include "ui/block_detail_window.h"

#include "answer_files.h"
#include "core/catalogue.h"
#include "core/file_names.h"
#include "core/session.h"
#include "ui/application.h"
#include "ui/caption_label.h"
#include "ui/gauge.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <climits>

using quimo::Session;
using quimo::ui::BlockDetailWindow;
using quimo::ui::CaptionLabel;
using quimo::ui::Gauge;

using Six = std::array<int, 6>;
Q_DECLARE_METATYPE(Six)

namespace {

constexpr int kGaugeLeft = 536;

// Where the nine windows put their statements and the close button, as the users know them.
struct BlockPlaces
{
    Six labelTops;
    Six labelHeights;
    QPoint closeButton;
    int outerHeight = 362;
};

const std::array<BlockPlaces, 9> kPlaces{{
    {{23, 63, 103, 143, 183, 223}, {21, 21, 21, 21, 21, 21}, {335, 265}},
    {{23, 63, 101, 143, 183, 221}, {21, 21, 21, 21, 21, 21}, {335, 257}},
    {{23, 63, 101, 143, 181, 221}, {21, 21, 21, 21, 21, 21}, {335, 257}},
    // Question 4's box is sized to its caption: its height is not fixed.
    {{39, 87, 117, 151, 183, 221}, {0, 18, 18, 18, 18, 18}, {335, 257}},
    {{23, 63, 101, 143, 183, 221}, {21, 21, 21, 21, 21, 21}, {327, 265}},
    {{23, 60, 101, 130, 183, 221}, {21, 21, 18, 21, 21, 21}, {335, 257}},
    {{23, 52, 95, 135, 175, 215}, {21, 18, 21, 21, 21, 21}, {335, 265}, 375},
    {{23, 52, 93, 132, 172, 213}, {21, 18, 21, 21, 21, 21}, {335, 257}},
    {{28, 68, 109, 148, 188, 221}, {21, 21, 21, 21, 21, 21}, {335, 265}},
}};

const Six kGaugeTops{24, 62, 102, 142, 182, 222};

// Continuation boxes of the four two-line statements: question -> top-left corner.
QPoint continuationCorner(int question)
{
    switch (question) {
    case 4:
        return {16, 55};
    case 16:
    case 17:
        return {34, 68};
    case 33:
        return {34, 148};
    default:
        return {};
    }
}

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The text of a label as it stands on the screen, all its drawn lines read one after the other.
QString shownText(const CaptionLabel *label)
{
    return label->visibleLines().join(QString());
}

// What the label's font needs for its text on one line, trailing blanks left out.
qreal neededWidth(const QLabel *label)
{
    QString text = label->text();
    while (text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    return QFontMetricsF(label->font()).horizontalAdvance(text);
}

// The row below the drawn line of a one-line label.
int textBottom(const QLabel *label)
{
    return label->y() + QFontMetrics(label->font()).height();
}

// A window of block b for a record in which every other block answers 1, so a gauge that
// reads the wrong question shows 40%.
struct DetailFixture
{
    Session session;
    BlockDetailWindow window;

    DetailFixture(int block, const Six &answers)
        : session(makeSession(block, answers))
        , window(block, session, nullptr)
    {
    }

    explicit DetailFixture(int block)
        : DetailFixture(block, {0, 1, 2, 3, 4, -1})
    {
    }

    static Session makeSession(int block, const Six &answers)
    {
        Session session;
        session.answers = quimo::testing::uniformRecord(1);
        session.baseName = "Probe";
        quimo::testing::setBlock(
            session.answers, block,
            {answers[0], answers[1], answers[2], answers[3], answers[4], answers[5]});
        return session;
    }

    Gauge *gauge(int position) const
    {
        return window.findChild<Gauge *>(QStringLiteral("Gauge%1").arg(position));
    }
    QPushButton *closeButton() const
    {
        return window.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    }

    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace

class TestBlockDetailWindow final : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data();
    void nameAndCaption_data() { blocks_data(); }
    void nameAndCaption();
    void outerSizeOnScreen_data() { blocks_data(); }
    void outerSizeOnScreen();
    void gaugesStandInTheirPlaces_data() { blocks_data(); }
    void gaugesStandInTheirPlaces();
    void gaugeOfEachPositionShowsItsQuestion_data();
    void gaugeOfEachPositionShowsItsQuestion();
    void extremeAnswersNeverWrap_data();
    void extremeAnswersNeverWrap();
    void labelsCarryTheStatements_data() { blocks_data(); }
    void labelsCarryTheStatements();
    void everyStatementShowsInFull_data() { blocks_data(); }
    void everyStatementShowsInFull();
    void question17ReadsOnceAcrossTwoLines();
    void labelsStandBesideTheirGauges_data() { blocks_data(); }
    void labelsStandBesideTheirGauges();
    void closeButtonAndScratchImage_data() { blocks_data(); }
    void closeButtonAndScratchImage();
    void focusIsOnCloseButtonWhenShown_data() { blocks_data(); }
    void focusIsOnCloseButtonWhenShown();
    void keysOnTheShownWindow_data();
    void keysOnTheShownWindow();
    void picturesOnClosing_data();
    void picturesOnClosing();
};

void TestBlockDetailWindow::blocks_data()
{
    QTest::addColumn<int>("block");
    for (int block = 1; block <= 9; ++block) {
        QTest::addRow("block %d", block) << block;
    }
}

void TestBlockDetailWindow::nameAndCaption()
{
    QFETCH(int, block);
    DetailFixture f(block);
    QCOMPARE(f.window.objectName(), QStringLiteral("quimoausw%1frm").arg(block));
    QCOMPARE(f.window.windowTitle(), utf8(quimo::blockNames(block).windowCaption));
}

// The outer rectangle counts, frame included: what the platform adds is taken off the client.
void TestBlockDetailWindow::outerSizeOnScreen()
{
    QFETCH(int, block);
    DetailFixture f(block);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const QSize outer(752, kPlaces[std::size_t(block - 1)].outerHeight);
    QTRY_COMPARE(f.window.frameGeometry().size(), outer);
    const QMargins frame = f.window.windowHandle()->frameMargins();
    QCOMPARE(f.window.size().grownBy(frame), outer);
}

void TestBlockDetailWindow::gaugesStandInTheirPlaces()
{
    QFETCH(int, block);
    DetailFixture f(block);
    for (int position = 1; position <= 6; ++position) {
        Gauge *gauge = f.gauge(position);
        QVERIFY2(gauge, qPrintable(QStringLiteral("Gauge%1").arg(position)));
        const int top = block == 6 && position == 4 ? 134 : kGaugeTops[std::size_t(position - 1)];
        QCOMPARE(gauge->geometry(), QRect(kGaugeLeft, top, 160, 21));
        QCOMPARE(gauge->minValue(), 0);
        QCOMPARE(gauge->maxValue(), 100);
    }
}

void TestBlockDetailWindow::gaugeOfEachPositionShowsItsQuestion_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<Six>("answers");
    QTest::addColumn<Six>("percent");

    for (int block = 1; block <= 9; ++block) {
        QTest::addRow("block %d rising", block)
            << block << Six{-1, 0, 1, 2, 3, 4} << Six{0, 20, 40, 60, 80, 100};
        QTest::addRow("block %d falling", block)
            << block << Six{4, 3, 2, 0, -1, 2} << Six{100, 80, 60, 20, 0, 60};
    }
    QTest::newRow("beyond 4 and below -1")
        << 3 << Six{9, -7, 5, -2, 1000, -1000} << Six{100, 0, 100, 0, 100, 0};
}

void TestBlockDetailWindow::gaugeOfEachPositionShowsItsQuestion()
{
    QFETCH(int, block);
    QFETCH(Six, answers);
    QFETCH(Six, percent);
    DetailFixture f(block, answers);
    for (int position = 1; position <= 6; ++position) {
        const int expected = percent[std::size_t(position - 1)];
        QCOMPARE(f.gauge(position)->progress(), expected);
        QCOMPARE(f.gauge(position)->percentDone(), expected);
    }
}

// (a + 1) * 20 is a 32-bit sum that wraps around before the gauge clamps it: only answers
// beyond about +-107 million are affected, and they come out as the wrapped value.
void TestBlockDetailWindow::extremeAnswersNeverWrap_data()
{
    QTest::addColumn<Six>("answers");
    QTest::addColumn<Six>("percent");

    // In 32 bits (INT_MAX + 1) * 20 would wrap to 0 % and (INT_MIN + 1) * 20 to 20 %: a corrupt
    // answer must never look like a plausible one. Answers above the scale are full, below empty.
    QTest::newRow("INT_MAX, INT_MIN")
        << Six{INT_MAX, INT_MIN, 4, 4, 4, 4} << Six{100, 0, 100, 100, 100, 100};
    // 107374182 is the first answer whose 32-bit product would pass INT_MAX, -107374184 the
    // first below INT_MIN.
    QTest::newRow("where 32 bits would wrap")
        << Six{107374181, 107374182, -107374183, -107374184, 0, 0} << Six{100, 100, 0, 0, 20, 20};
}

void TestBlockDetailWindow::extremeAnswersNeverWrap()
{
    QFETCH(Six, answers);
    QFETCH(Six, percent);
    DetailFixture f(5, answers);
    for (int position = 1; position <= 6; ++position) {
        QCOMPARE(f.gauge(position)->percentDone(), percent[std::size_t(position - 1)]);
    }
}

void TestBlockDetailWindow::labelsCarryTheStatements()
{
    QFETCH(int, block);
    DetailFixture f(block);
    for (int position = 1; position <= 6; ++position) {
        const quimo::Statement &statement = quimo::statement(block + 9 * (position - 1));
        QCOMPARE(f.window.firstLineLabel(position)->text(), utf8(statement.firstLine));
        CaptionLabel *continuation = f.window.continuationLabel(position);
        const bool twoLines = statement.question == 4 || statement.question == 16 ||
                              statement.question == 17 || statement.question == 33;
        QCOMPARE(continuation != nullptr, twoLines);
        if (continuation) {
            QCOMPARE(continuation->text(), utf8(statement.continuation));
        }
    }
    // Nothing but the statements' labels uses their captions.
    QCOMPARE(f.window.findChildren<CaptionLabel *>().size(),
             block == 4 || block == 6 || block == 7 || block == 8 ? 7 : 6);
}

// With the substitute font every caption still has to show in full and end before the gauges.
void TestBlockDetailWindow::everyStatementShowsInFull()
{
    QFETCH(int, block);
    DetailFixture f(block);
    QList<CaptionLabel *> labels;
    for (int position = 1; position <= 6; ++position) {
        if (block + 9 * (position - 1) != 17) {
            labels.append(f.window.firstLineLabel(position));
        }
        if (CaptionLabel *continuation = f.window.continuationLabel(position)) {
            labels.append(continuation);
        }
    }
    for (const CaptionLabel *label : labels) {
        const QString what = label->objectName() + QStringLiteral(": ") + label->text();
        QVERIFY2(label->visibleLines().size() == 1, qPrintable(what));
        QCOMPARE(shownText(label), label->text());
        QVERIFY2(neededWidth(label) <= label->width(), qPrintable(what));
        QVERIFY2(QFontMetrics(label->font()).height() <= label->height(), qPrintable(what));
        QVERIFY2(label->geometry().right() < kGaugeLeft, qPrintable(what));
    }
}

// Question 17's first line holds the whole statement but shows it only up to "soll"; its
// continuation repeats the rest, so the statement reads exactly once.
void TestBlockDetailWindow::question17ReadsOnceAcrossTwoLines()
{
    DetailFixture f(8);
    const CaptionLabel *first = f.window.firstLineLabel(2);
    const CaptionLabel *continuation = f.window.continuationLabel(2);
    QVERIFY(continuation);
    const QString statement = utf8(quimo::statement(17).firstLine);
    QCOMPARE(first->text(), statement);

    const qsizetype soll = statement.lastIndexOf(QStringLiteral("soll "));
    QVERIFY(soll > 0);
    QCOMPARE(first->visibleLines().size(), 1);
    QCOMPARE(shownText(first), statement.left(soll));
    QCOMPARE(shownText(first) + shownText(continuation), statement);
    QVERIFY(first->geometry().right() < kGaugeLeft);
    QVERIFY(continuation->geometry().right() < kGaugeLeft);
    QVERIFY(neededWidth(continuation) <= continuation->width());
}

void TestBlockDetailWindow::labelsStandBesideTheirGauges()
{
    QFETCH(int, block);
    DetailFixture f(block);
    const BlockPlaces &places = kPlaces[std::size_t(block - 1)];
    int previousBottom = 0;
    for (int position = 1; position <= 6; ++position) {
        const CaptionLabel *first = f.window.firstLineLabel(position);
        const QString what = QStringLiteral("position %1").arg(position);
        QCOMPARE(first->x(), 16);
        QCOMPARE(first->y(), places.labelTops[std::size_t(position - 1)]);
        if (const int height = places.labelHeights[std::size_t(position - 1)]) {
            QCOMPARE(first->height(), height);
        }
        // The boxes may overlap as laid out; the drawn lines must not.
        QVERIFY2(first->y() >= previousBottom, qPrintable(what));
        previousBottom = textBottom(first);

        if (const CaptionLabel *continuation = f.window.continuationLabel(position)) {
            const int question = block + 9 * (position - 1);
            QCOMPARE(continuation->pos(), continuationCorner(question));
            QCOMPARE(continuation->height(), 18);
            QVERIFY2(continuation->y() >= previousBottom, qPrintable(what));
            previousBottom = textBottom(continuation);
        }

        const int distance = first->y() - f.gauge(position)->y();
        if (block == 4 && position <= 3) {
            // The two-line first statement pushes the labels down; the gauges stay.
            QCOMPARE(distance, (Six{15, 25, 15, 0, 0, 0}[std::size_t(position - 1)]));
        } else {
            QVERIFY2(qAbs(distance) <= 10, qPrintable(what));
        }
    }
}

void TestBlockDetailWindow::closeButtonAndScratchImage()
{
    QFETCH(int, block);
    DetailFixture f(block);
    QPushButton *close = f.closeButton();
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("S&chließen"));
    QCOMPARE(close->geometry(), QRect(kPlaces[std::size_t(block - 1)].closeButton, QSize(121, 33)));
    QVERIFY(!close->icon().isNull());

    QWidget *image = f.window.findChild<QWidget *>(QStringLiteral("Image1"));
    QVERIFY(image);
    QCOMPARE(image->geometry(), QRect(552, 278, 49, 25));
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QVERIFY(!image->isVisible());
}

void TestBlockDetailWindow::focusIsOnCloseButtonWhenShown()
{
    QFETCH(int, block);
    DetailFixture f(block);
    QVERIFY(f.showActive());
    QCOMPARE(QApplication::focusWidget(), f.closeButton());
    // It is the only control that takes the focus: Tab keeps it there.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.closeButton());
}

void TestBlockDetailWindow::keysOnTheShownWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << true;
    QTest::newRow("c") << int(Qt::Key_C) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Alt+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << false;
    QTest::newRow("other letter") << int(Qt::Key_S) << Qt::KeyboardModifiers() << false;
}

void TestBlockDetailWindow::keysOnTheShownWindow()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, closes);
    DetailFixture f(2);
    QVERIFY(f.showActive());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    if (closes) {
        QTRY_VERIFY(!f.window.isVisible());
        QCOMPARE(f.window.result(), int(QDialog::Rejected));
    } else {
        QTest::qWait(300); // longer than a button's animated click
        QVERIFY(f.window.isVisible());
    }
}

void TestBlockDetailWindow::picturesOnClosing_data()
{
    QTest::addColumn<bool>("saveSnapshots");
    QTest::addColumn<bool>("throughCloseButton");
    QTest::addColumn<QStringList>("files");

    const QString picture = QString::fromStdString(quimo::detailPictureName("Probe", 7));
    QTest::newRow("button, pictures off") << false << true << QStringList();
    QTest::newRow("close box, pictures on") << true << false << QStringList();
    QTest::newRow("button, pictures on") << true << true << QStringList{picture};
}

void TestBlockDetailWindow::picturesOnClosing()
{
    QFETCH(bool, saveSnapshots);
    QFETCH(bool, throughCloseButton);
    QFETCH(QStringList, files);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    auto restore = qScopeGuard([&previous] { QDir::setCurrent(previous); });

    DetailFixture f(7);
    f.session.saveSnapshots = saveSnapshots;
    QVERIFY(f.showActive());
    if (throughCloseButton) {
        QTest::mouseClick(f.closeButton(), Qt::LeftButton);
    } else {
        f.window.close();
    }
    QVERIFY(!f.window.isVisible());
    QCOMPARE(f.window.result(), int(QDialog::Rejected));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
             files);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quimo::ui::setUpFonts();
    TestBlockDetailWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_block_detail_window.moc"
