#include "ui/application.h"

#include "dialog_answers.h"
#include "ui/message_boxes.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using namespace quimo::testing;
using quimo::ui::MessageBoxes;

namespace {

const char *const failure = "Datei x kann nicht erstellt werden";

// A widget whose handlers fail the way a framework operation does.
class FailingWidget final : public QWidget
{
public:
    int presses = 0;
    int keys = 0;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        ++presses;
        throw std::runtime_error(failure);
    }
    void keyPressEvent(QKeyEvent *) override
    {
        ++keys;
        throw std::runtime_error(failure);
    }
};

enum class Trigger { MousePress, KeyPress, ButtonClick, Timer };

} // namespace

Q_DECLARE_METATYPE(Trigger)

class TestApplication final : public QObject
{
    Q_OBJECT

private slots:
    void errorEscapingAHandlerShowsTheErrorBox_data();
    void errorEscapingAHandlerShowsTheErrorBox();
    void errorText_data();
    void errorText();
    void germanAndHintTiming();
};

void TestApplication::errorEscapingAHandlerShowsTheErrorBox_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::newRow("mouse press") << Trigger::MousePress;
    QTest::newRow("key press") << Trigger::KeyPress;
    QTest::newRow("button's clicked slot") << Trigger::ButtonClick;
    QTest::newRow("timer") << Trigger::Timer;
}

void TestApplication::errorEscapingAHandlerShowsTheErrorBox()
{
    QFETCH(Trigger, trigger);
    QVERIFY(qobject_cast<quimo::ui::Application *>(QCoreApplication::instance()));

    MessageBoxRecorder boxes;
    FailingWidget widget;
    widget.resize(200, 100);
    auto *button = new QPushButton(QStringLiteral("S&chließen"), &widget);
    button->setGeometry(10, 10, 100, 30);
    int clicks = 0;
    connect(button, &QPushButton::clicked, [&clicks] {
        ++clicks;
        throw std::runtime_error(failure);
    });
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));

    int fired = 0;
    auto failOnce = [&] {
        switch (trigger) {
        case Trigger::MousePress:
            QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(150, 80));
            break;
        case Trigger::KeyPress:
            QTest::keyClick(&widget, Qt::Key_A);
            break;
        case Trigger::ButtonClick:
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        case Trigger::Timer:
            QTimer::singleShot(0, &widget, [&fired] {
                ++fired;
                throw std::runtime_error(failure);
            });
            break;
        }
    };

    // The loop goes on after the first failure: the same action fails and is shown again.
    for (int round = 1; round <= 2; ++round) {
        failOnce();
        QTRY_COMPARE(boxes.boxes().size(), round);
        const SeenBox &box = boxes.boxes().last();
        QVERIFY(box.answered);
        QCOMPARE(box.caption, QStringLiteral("QUIMO Auswertung Harnik-QDX"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.text, QStringLiteral("Datei x kann nicht erstellt werden."));
        QCOMPARE(box.buttonsLeftToRight, QStringList{"OK"});
        QCOMPARE(box.defaultButton, QStringLiteral("OK"));
        QCOMPARE(box.escapeButton, QStringLiteral("OK"));
    }
    QCOMPARE(widget.presses + widget.keys + clicks + fired, 2);

    // Nothing is left stuck: a later event is delivered as usual.
    bool later = false;
    QTimer::singleShot(0, &widget, [&later] { later = true; });
    QTRY_VERIFY(later);
    QVERIFY(widget.isVisible());
}

void TestApplication::errorText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("letter") << "abc"
                            << "abc.";
    QTest::newRow("full stop already") << "abc."
                                       << "abc.";
    QTest::newRow("'!' sorts before '.'") << "abc!"
                                          << "abc!";
    QTest::newRow("')' sorts before '.'") << "abc)"
                                          << "abc)";
    QTest::newRow("'-' sorts before '.'") << "abc-"
                                          << "abc-";
    QTest::newRow("'/' sorts after '.'") << "abc/"
                                         << "abc/.";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("digit sorts after '.'") << "Zahl 5"
                                           << "Zahl 5.";
    QTest::newRow("umlaut sorts after '.'") << "ü"
                                            << "ü.";
    QTest::newRow("blank sorts before '.'") << "abc "
                                            << "abc ";
}

void TestApplication::errorText()
{
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(MessageBoxes::errorText(message), expected);
}

// The open dialog speaks German, and hints come up after half a second, as users know them.
void TestApplication::germanAndHintTiming()
{
    QCOMPARE(QLocale().language(), QLocale::German);
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&\u00d6ffnen"));
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    QCOMPARE(QFontInfo(quimo::ui::layoutFont(QStringLiteral("MS Sans Serif"), 11)).family(),
             QStringLiteral("Liberation Sans"));
}

int main(int argc, char **argv)
{
    QTemporaryDir screenConfig;
    useExactOffscreenScreen(screenConfig);
    quimo::ui::Application app(argc, argv);
    quimo::ui::setUpFonts();
    TestApplication test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
