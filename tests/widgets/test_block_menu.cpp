#include "ui/block_menu.h"

#include "answer_files.h"
#include "core/catalogue.h"
#include "core/session.h"
#include "modal_driver.h"
#include "ui/application.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using quimo::Session;
using quimo::testing::ModalDriver;
using quimo::ui::BlockMenu;

namespace {

const QString kMenu = QStringLiteral("quimoauswmenufrm");
const QString kHint =
    QStringLiteral("Bearbeitete Frageblöcke sind durch ein Häkchen gekennzeichnet");

QString detail(int block)
{
    return QStringLiteral("quimoausw%1frm").arg(block);
}

QString press(const QString &window, const QString &focus)
{
    return window + QLatin1Char('/') + focus;
}

// The tab order of the menu, one lap.
const QStringList kTabOrder{
    "button1", "button2", "button3", "button4", "button5",
    "button6", "button7", "button8", "BitBtn1", "button9",
};

Session makeSession()
{
    Session session;
    session.answers = quimo::testing::uniformRecord(2);
    session.baseName = "Probe";
    return session;
}

// A menu that is run modally, as the overview window runs it.
struct MenuFixture
{
    Session session = makeSession();
    BlockMenu menu{session, nullptr};
    ModalDriver driver;

    // Runs the menu until it closes; false when it had to be closed by force.
    bool run()
    {
        driver.start();
        menu.exec();
        return !driver.timedOut() && driver.allStepsRun();
    }

    QWidget *child(const QString &name) const { return menu.findChild<QWidget *>(name); }

    // Which blocks show their check mark, as the user sees it.
    QList<int> checkedBlocks() const
    {
        QList<int> blocks;
        for (int block = 1; block <= 9; ++block) {
            if (QWidget *check = child(QStringLiteral("check%1").arg(block));
                check && check->isVisible()) {
                blocks.append(block);
            }
        }
        return blocks;
    }
};

// The same menu shown without a modal run, for the keys that move the focus.
struct ShownMenu
{
    Session session = makeSession();
    BlockMenu menu{session, nullptr};

    bool show()
    {
        menu.show();
        menu.activateWindow();
        return QTest::qWaitForWindowActive(&menu);
    }

    QString focusName() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
};

} // namespace

class TestBlockMenu final : public QObject
{
    Q_OBJECT

private slots:
    void windowAndOuterSize();
    void blockButtons_data();
    void blockButtons();
    void closeButtonAndLogo();
    void focusOnFirstButtonWhenShown();
    void focusWalksTheTabOrder_data();
    void focusWalksTheTabOrder();
    void enterWalksThroughAllBlocks();
    void mouseClickMovesFocusToNextBlock();
    void escapeOpensBlockOne_data();
    void escapeOpensBlockOne();
    void letterCClosesTheMenu_data();
    void letterCClosesTheMenu();
    void reopenedMenuStartsAfresh();
};

void TestBlockMenu::windowAndOuterSize()
{
    ShownMenu m;
    QCOMPARE(m.menu.objectName(), kMenu);
    QCOMPARE(m.menu.windowTitle(), QStringLiteral("QUIMO Einzelauswertung Harnik QDX"));
    QVERIFY(m.show());
    QTRY_COMPARE(m.menu.frameGeometry().size(), QSize(417, 484));
}

void TestBlockMenu::blockButtons_data()
{
    QTest::addColumn<int>("block");
    for (int block = 1; block <= 9; ++block) {
        QTest::addRow("button%d", block) << block;
    }
}

void TestBlockMenu::blockButtons()
{
    QFETCH(int, block);
    ShownMenu m;
    auto *button = m.menu.findChild<QPushButton *>(QStringLiteral("button%1").arg(block));
    QVERIFY(button);
    QCOMPARE(button, m.menu.blockButton(block));
    QCOMPARE(button->geometry(), QRect(24, 16 + 48 * (block - 1), 200, 33));
    const std::string_view caption = quimo::blockNames(block).menuCaption;
    QCOMPARE(button->text(), QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    QVERIFY2(!button->text().contains(QLatin1Char('&')), "block buttons have no accelerator");
    QCOMPARE(button->toolTip(), kHint);
    QVERIFY(button->icon().isNull());
}

void TestBlockMenu::closeButtonAndLogo()
{
    ShownMenu m;
    auto *close = m.menu.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    QVERIFY(close);
    QCOMPARE(close->geometry(), QRect(264, 352, 129, 33));
    QCOMPARE(close->text(), QStringLiteral("S&chließen"));
    QVERIFY(close->toolTip().isEmpty());
    QVERIFY(!close->icon().isNull());

    auto *logo = m.menu.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(logo);
    QCOMPARE(logo->geometry(), QRect(256, 24, 137, 129));
    QVERIFY(logo->toolTip().isEmpty());
    QCOMPARE(logo->pixmap().size(), QSize(137, 114));
    QVERIFY(logo->alignment().testFlag(Qt::AlignLeft));
    QVERIFY(logo->alignment().testFlag(Qt::AlignTop));
}

void TestBlockMenu::focusOnFirstButtonWhenShown()
{
    ShownMenu m;
    QVERIFY(m.show());
    QCOMPARE(m.focusName(), QStringLiteral("button1"));
}

void TestBlockMenu::focusWalksTheTabOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("forward");

    QTest::newRow("Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Right") << int(Qt::Key_Right) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << false;
    QTest::newRow("Left") << int(Qt::Key_Left) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers() << false;
}

// Two laps from button1, so the wrap at either end shows.
void TestBlockMenu::focusWalksTheTabOrder()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, forward);

    QStringList expected;
    const qsizetype count = kTabOrder.size();
    for (qsizetype step = 1; step <= 2 * count; ++step) {
        expected.append(kTabOrder[((forward ? step : -step) % count + count) % count]);
    }

    ShownMenu m;
    QVERIFY(m.show());
    QCOMPARE(m.focusName(), QStringLiteral("button1"));
    QStringList walked;
    for (qsizetype step = 1; step <= 2 * count; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        walked.append(m.focusName());
    }
    QCOMPARE(walked, expected);
    QVERIFY(m.menu.isVisible());
    QVERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &m.menu);
}

// Enter alternates between opening a block and closing it, then closes the menu itself.
void TestBlockMenu::enterWalksThroughAllBlocks()
{
    MenuFixture f;
    for (int i = 1; i <= 19; ++i) {
        f.driver.press(Qt::Key_Return);
    }
    QVERIFY(f.run());

    QStringList expected;
    QStringList opened;
    for (int block = 1; block <= 9; ++block) {
        expected << press(kMenu, QStringLiteral("button%1").arg(block))
                 << press(detail(block), QStringLiteral("BitBtn1"));
        opened << detail(block);
    }
    expected << press(kMenu, QStringLiteral("BitBtn1"));
    QCOMPARE(f.driver.presses(), expected);
    QCOMPARE(f.driver.shownDialogs(), QStringList{kMenu} + opened);
    QCOMPARE(f.menu.result(), int(QDialog::Rejected));
    QVERIFY(!f.menu.isVisible());
}

// The focus goes to the next block's button, not back to the button that was clicked.
void TestBlockMenu::mouseClickMovesFocusToNextBlock()
{
    MenuFixture f;
    QString focusAfter;
    QList<int> checked;
    QList<int> viewed;
    f.driver.then([&f](QWidget *) { QTest::mouseClick(f.child("button5"), Qt::LeftButton); });
    f.driver.press(Qt::Key_Return);
    f.driver.then([&](QWidget *top) {
        focusAfter = QApplication::focusWidget()->objectName();
        checked = f.checkedBlocks();
        for (int block = 1; block <= 9; ++block) {
            if (f.menu.isViewed(block)) {
                viewed.append(block);
            }
        }
        qobject_cast<QDialog *>(top)->reject();
    });
    QVERIFY(f.run());

    QCOMPARE(f.driver.presses(), QStringList{press(detail(5), "BitBtn1")});
    QCOMPARE(f.driver.shownDialogs(), (QStringList{kMenu, detail(5)}));
    QCOMPARE(focusAfter, QStringLiteral("button6"));
    QCOMPARE(viewed, QList<int>{5});
    QCOMPARE(checked, QList<int>{5});
}

void TestBlockMenu::escapeOpensBlockOne_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("on button4") << QStringLiteral("button4");
    QTest::newRow("on the close button") << QStringLiteral("BitBtn1");
    QTest::newRow("on button1") << QStringLiteral("button1");
}

void TestBlockMenu::escapeOpensBlockOne()
{
    QFETCH(QString, focus);
    MenuFixture f;
    QString focusAfter;
    f.driver.focus(focus);
    f.driver.press(Qt::Key_Escape);
    f.driver.press(Qt::Key_Return);
    f.driver.then([&](QWidget *top) {
        focusAfter = QApplication::focusWidget()->objectName();
        qobject_cast<QDialog *>(top)->reject();
    });
    QVERIFY(f.run());

    QCOMPARE(f.driver.presses(), (QStringList{press(kMenu, focus), press(detail(1), "BitBtn1")}));
    QCOMPARE(f.driver.shownDialogs(), (QStringList{kMenu, detail(1)}));
    QCOMPARE(focusAfter, QStringLiteral("button2"));
}

void TestBlockMenu::letterCClosesTheMenu_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("c on button1") << QStringLiteral("button1") << Qt::KeyboardModifiers();
    QTest::newRow("c on button7") << QStringLiteral("button7") << Qt::KeyboardModifiers();
    QTest::newRow("Alt+C on button1")
        << QStringLiteral("button1") << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::newRow("Alt+C on button9")
        << QStringLiteral("button9") << Qt::KeyboardModifiers(Qt::AltModifier);
}

void TestBlockMenu::letterCClosesTheMenu()
{
    QFETCH(QString, focus);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    MenuFixture f;
    f.driver.focus(focus);
    f.driver.press(Qt::Key_C, modifiers);
    QVERIFY(f.run());
    QCOMPARE(f.driver.shownDialogs(), QStringList{kMenu});
    QCOMPARE(f.menu.result(), int(QDialog::Rejected));
}

// Nothing is remembered from one opening of the menu to the next.
void TestBlockMenu::reopenedMenuStartsAfresh()
{
    {
        MenuFixture first;
        first.driver.focus("button3");
        first.driver.press(Qt::Key_Return);
        first.driver.press(Qt::Key_Return);
        first.driver.press(Qt::Key_C);
        QVERIFY(first.run());
        QCOMPARE(first.driver.shownDialogs(), (QStringList{kMenu, detail(3)}));
        QVERIFY(first.menu.isViewed(3));
    }

    MenuFixture second;
    QString focusAtStart;
    QList<int> checked{-1};
    bool anyViewed = true;
    second.driver.then([&](QWidget *top) {
        focusAtStart = QApplication::focusWidget()->objectName();
        checked = second.checkedBlocks();
        anyViewed = false;
        for (int block = 1; block <= 9; ++block) {
            anyViewed = anyViewed || second.menu.isViewed(block);
        }
        top->close();
    });
    QVERIFY(second.run());
    QCOMPARE(focusAtStart, QStringLiteral("button1"));
    QCOMPARE(checked, QList<int>());
    QVERIFY(!anyViewed);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quimo::ui::setUpFonts();
    TestBlockMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_block_menu.moc"
