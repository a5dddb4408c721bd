#include "chart_labels.h"
#include "ui/overview_window.h"

#include "answer_files.h"
#include "dialog_answers.h"
#include "ui/application.h"
#include "ui/bar_chart.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quimo::testing;
using quimo::AnswerRecord;
using quimo::ui::BarChart;
using quimo::ui::OverviewWindow;

Q_DECLARE_METATYPE(quimo::testing::BoxReply)

namespace {

const QString question = QStringLiteral("Sollen die Grafiken abgespeichert werden?");
const QString readFailure = QStringLiteral("Datei lässt sich nicht öffnen");
const QString applicationTitle = QStringLiteral("QUIMO Auswertung Harnik-QDX");

// One block of each kind the scoring must get right.
AnswerRecord mixedRecord()
{
    AnswerRecord record = uniformRecord(4);        // 1, 4, 9: 30 -> 100
    setBlock(record, 2, {4, 4, 4, 4, 4, -1});      // 25 -> 83
    setBlock(record, 3, {4, 4, 4, 4, 4, 3});       // 29 -> 96
    setBlock(record, 5, {9, 9, 9, 9, 9, 9});       // 60 -> 200
    setBlock(record, 6, {-1, -1, -1, -1, -1, -1}); // 0 -> 0
    setBlock(record, 7, {0, 0, 0, 0, 0, 0});       // 6 -> 20
    setBlock(record, 8, {0, -1, -2, -100, -1, std::numeric_limits<std::int32_t>::min()}); // 1 -> 3
    return record;
}

const QList<double> mixedScores = {100, 83, 96, 100, 200, 0, 20, 3, 100};

const QStringList &chartLabels = quimo::testing::kChartLabels;

BarChart *chartOf(const OverviewWindow &window)
{
    return window.findChild<BarChart *>(QStringLiteral("Chart1"));
}

QPushButton *buttonOf(const OverviewWindow &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

// Shows the window and waits until its start-up flow has been through the open dialog.
bool startUp(OverviewWindow &window, const OpenDialogAnswer &dialog)
{
    window.show();
    return QTest::qWaitFor([&] { return dialog.shown > 0; });
}

} // namespace

class TestOverviewWindow final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startUpFlow_data();
    void startUpFlow();
    void messageBoxesAreCentredOnScreen();
    void openDialogStartsInCurrentFolderWithQuimoDat();
    void chartShowsBlockScoresInBlockOrder();
    void laterActivationsChangeNothing();
    void windowLayout();
    void outerSizeAndCentred();
    void tabOrder();
    void accelerators_data();
    void accelerators();
    void closeWithoutPicturesWritesNothing();

private:
    // A window whose start-up flow read a good file and was told not to save pictures.
    struct Ready
    {
        QTemporaryDir dir;
        std::unique_ptr<MessageBoxRecorder> boxes;
        std::unique_ptr<OpenDialogAnswer> dialog;
        std::unique_ptr<OverviewWindow> window;
    };
    static bool makeReady(Ready &ready);

    QString startFolder_;
};

void TestOverviewWindow::initTestCase()
{
    startFolder_ = QDir::currentPath();
}

void TestOverviewWindow::cleanup()
{
    QDir::setCurrent(startFolder_);
}

bool TestOverviewWindow::makeReady(Ready &ready)
{
    const QString path = ready.dir.filePath(QStringLiteral("QUIMO.dat"));
    if (!writeBytes(path, recordBytes(mixedRecord()))) {
        return false;
    }
    ready.boxes = std::make_unique<MessageBoxRecorder>();
    ready.boxes->queue(BoxReply::ClickNo);
    ready.dialog = std::make_unique<OpenDialogAnswer>(path);
    ready.window = std::make_unique<OverviewWindow>();
    return startUp(*ready.window, *ready.dialog) && chartOf(*ready.window)->points().size() == 9 &&
           QTest::qWaitForWindowActive(ready.window.get());
}

void TestOverviewWindow::startUpFlow_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<BoxReply>("reply");
    QTest::addColumn<QStringList>("expectedBoxes");
    QTest::addColumn<bool>("saveSnapshots");
    QTest::addColumn<bool>("windowOpen");
    QTest::addColumn<int>("points");

    const QByteArray good = recordBytes(uniformRecord(2));
    const QByteArray tenBytes(10, '\x01');

    QTest::newRow("dialog cancelled: no question, the end")
        << true << good << BoxReply::ClickYes << QStringList() << false << false << 0;
    QTest::newRow("Ja") << false << good << BoxReply::ClickYes << QStringList{question} << true
                        << true << 9;
    QTest::newRow("Enter takes the default Ja")
        << false << good << BoxReply::Enter << QStringList{question} << true << true << 9;
    QTest::newRow("Nein") << false << good << BoxReply::ClickNo << QStringList{question} << false
                          << true << 9;
    QTest::newRow("Escape") << false << good << BoxReply::Escape << QStringList{question} << false
                            << true << 9;
    QTest::newRow("close box") << false << good << BoxReply::CloseBox << QStringList{question}
                               << false << true << 9;
    QTest::newRow("unreadable file: question first, then the failure, then the end")
        << false << tenBytes << BoxReply::ClickYes << QStringList{question, readFailure} << true
        << false << 0;
}

void TestOverviewWindow::startUpFlow()
{
    QFETCH(bool, cancel);
    QFETCH(QByteArray, fileBytes);
    QFETCH(BoxReply, reply);
    QFETCH(QStringList, expectedBoxes);
    QFETCH(bool, saveSnapshots);
    QFETCH(bool, windowOpen);
    QFETCH(int, points);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QUIMO.dat"));
    QVERIFY(writeBytes(path, fileBytes));
    MessageBoxRecorder boxes;
    boxes.queue(reply);
    OpenDialogAnswer dialog(cancel ? QString() : path);
    OverviewWindow window;

    QVERIFY(startUp(window, dialog));
    QTRY_COMPARE(window.isVisible(), windowOpen);
    QCOMPARE(boxes.texts(), expectedBoxes);
    QCOMPARE(window.session().saveSnapshots, saveSnapshots);
    QCOMPARE(chartOf(window)->points().size(), points);

    if (!expectedBoxes.isEmpty()) {
        const SeenBox &box = boxes.boxes().at(0);
        QVERIFY(box.answered);
        QCOMPARE(box.caption, QStringLiteral("Bestätigung"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttonsLeftToRight, (QStringList{"&Ja", "&Nein"}));
        QCOMPARE(box.defaultButton, QStringLiteral("&Ja"));
        QCOMPARE(box.escapeButton, QStringLiteral("&Nein"));
    }
    if (expectedBoxes.size() > 1) {
        const SeenBox &box = boxes.boxes().at(1);
        QVERIFY(box.answered);
        QCOMPARE(box.caption, applicationTitle);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttonsLeftToRight, QStringList{"OK"});
        QCOMPARE(box.defaultButton, QStringLiteral("OK"));
        QCOMPARE(box.escapeButton, QStringLiteral("OK"));
    }
}

void TestOverviewWindow::messageBoxesAreCentredOnScreen()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QUIMO.dat"));
    QVERIFY(writeBytes(path, QByteArray(10, '\x01')));
    MessageBoxRecorder boxes;
    OpenDialogAnswer dialog(path);
    OverviewWindow window;
    QVERIFY(startUp(window, dialog));
    QCOMPARE(boxes.boxes().size(), 2);
    QVERIFY2(boxes.boxes().at(0).centred, "save question");
    QVERIFY2(boxes.boxes().at(1).centred, "read failure");
}

void TestOverviewWindow::openDialogStartsInCurrentFolderWithQuimoDat()
{
    QTemporaryDir start;
    const QString offered = start.filePath(QStringLiteral("QUIMO.dat"));
    QVERIFY(writeBytes(offered, recordBytes(uniformRecord(0))));
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkdir(QStringLiteral("Daten")));
    const QString chosen = data.filePath(QStringLiteral("Daten/Antworten.dat"));
    QVERIFY(writeBytes(chosen, recordBytes(uniformRecord(0))));
    QVERIFY(QDir::setCurrent(start.path()));

    MessageBoxRecorder boxes;
    boxes.queue(BoxReply::ClickNo);
    OpenDialogAnswer dialog(chosen);
    OverviewWindow window;
    QVERIFY(startUp(window, dialog));

    QCOMPARE(dialog.objectName, QStringLiteral("OpenDialog1"));
    QCOMPARE(dialog.fileMode, QFileDialog::ExistingFile);
    QCOMPARE(dialog.directory, start.path());
    QCOMPARE(dialog.selectedFiles, QStringList{offered});
    QCOMPARE(dialog.fileNameText, QStringLiteral("QUIMO.dat"));
    QVERIFY(dialog.sizeGripEnabled);

    // The chosen file's folder is where the block pictures go from now on.
    QCOMPARE(QDir::currentPath(), data.filePath(QStringLiteral("Daten")));
    QCOMPARE(window.session().dataFilePath, chosen.toStdString());
    QCOMPARE(window.session().baseName, std::string("Antworten"));
}

void TestOverviewWindow::chartShowsBlockScoresInBlockOrder()
{
    Ready ready;
    QVERIFY(makeReady(ready));
    const QVector<BarChart::Point> &points = chartOf(*ready.window)->points();
    QCOMPARE(points.size(), 9);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(points[i].value, mixedScores[i]);
        QCOMPARE(points[i].label, chartLabels[i]);
        QCOMPARE(points[i].color, QColor(0, 0, 128));
    }
    QCOMPARE(ready.window->session().baseName, std::string("QUIMO"));
    QCOMPARE(ready.window->session().dataFilePath,
             ready.dir.filePath(QStringLiteral("QUIMO.dat")).toStdString());
    QCOMPARE(ready.window->session().answers.bytes, mixedRecord().bytes);
    QCOMPARE(QDir::currentPath(), ready.dir.path());
}

void TestOverviewWindow::laterActivationsChangeNothing()
{
    Ready ready;
    QVERIFY(makeReady(ready));
    OverviewWindow &window = *ready.window;
    const quimo::Session before = window.session();

    window.formActivate();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::qWait(50);

    QCOMPARE(ready.dialog->shown, 1);
    QCOMPARE(ready.boxes->boxes().size(), 1);
    QCOMPARE(chartOf(window)->points().size(), 9);
    QCOMPARE(window.session().baseName, before.baseName);
    QCOMPARE(window.session().dataFilePath, before.dataFilePath);
    QCOMPARE(window.session().saveSnapshots, before.saveSnapshots);
    QCOMPARE(window.session().answers.bytes, before.answers.bytes);
}

void TestOverviewWindow::windowLayout()
{
    OverviewWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("quimoauswfrm"));
    QCOMPARE(window.windowTitle(), QStringLiteral("QUIMO Trivelkanz: Auswertung Harnik QDX"));

    BarChart *chart = chartOf(window);
    QVERIFY(chart);
    QCOMPARE(chart->geometry(), QRect(8, 11, 761, 489));
    QVERIFY(chart->points().isEmpty());

    QPushButton *detail = buttonOf(window, "detail");
    QVERIFY(detail);
    QCOMPARE(detail->geometry(), QRect(280, 515, 113, 33));
    QCOMPARE(detail->text(), QStringLiteral("&Einzelauswertung"));
    QVERIFY(detail->icon().isNull());

    QPushButton *ende = buttonOf(window, "button_ende");
    QVERIFY(ende);
    QCOMPARE(ende->geometry(), QRect(424, 512, 113, 33));
    QCOMPARE(ende->text(), QStringLiteral("S&chließen"));
    QVERIFY(!ende->icon().isNull());

    auto *label = window.findChild<QLabel *>(QStringLiteral("Label3"));
    QVERIFY(label);
    QCOMPARE(label->pos(), QPoint(11, 556));
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pixelSize(), 12);
    QVERIFY(!label->text().isEmpty());

    auto *image = window.findChild<QWidget *>(QStringLiteral("Image1"));
    QVERIFY(image);
    QCOMPARE(image->geometry(), QRect(664, 520, 57, 33));
    QVERIFY(image->isHidden());
}

void TestOverviewWindow::outerSizeAndCentred()
{
    Ready ready;
    QVERIFY(makeReady(ready));
    const QRect outer = ready.window->frameGeometry();
    QCOMPARE(outer.size(), QSize(808, 609));
    QCOMPARE(outer.topLeft(), QPoint((1280 - 808) / 2, (1024 - 609) / 2));
    // Image1 stays hidden once the window is on the screen.
    QVERIFY(!ready.window->findChild<QWidget *>(QStringLiteral("Image1"))->isVisible());
}

void TestOverviewWindow::tabOrder()
{
    Ready ready;
    QVERIFY(makeReady(ready));
    QPushButton *ende = buttonOf(*ready.window, "button_ende");
    QPushButton *detail = buttonOf(*ready.window, "detail");
    QCOMPARE(QApplication::focusWidget(), ende);
    QTest::keyClick(ende, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), detail);
    QTest::keyClick(detail, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ende);
}

void TestOverviewWindow::accelerators_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opensMenu");

    QTest::newRow("E") << int(Qt::Key_E) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Alt+E") << int(Qt::Key_E) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("C") << int(Qt::Key_C) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Alt+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::AltModifier) << false;
}

void TestOverviewWindow::accelerators()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opensMenu);

    Ready ready;
    QVERIFY(makeReady(ready));
    OverviewWindow &window = *ready.window;

    int menus = 0;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, [&menus] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (modal->objectName() == QLatin1String("quimoauswmenufrm")) {
                ++menus;
            }
            modal->close();
        }
    });
    closer.start();

    QWidget *focus = window.focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(key), modifiers);
    // Alt+letter is a shortcut, which clicks its button 100 ms later, as a user would see it.
    QTest::qWait(300);
    closer.stop();

    QCOMPARE(menus, opensMenu ? 1 : 0);
    QCOMPARE(window.isVisible(), opensMenu);
    QCOMPARE(chartOf(window)->points().size(), 9);
}

void TestOverviewWindow::closeWithoutPicturesWritesNothing()
{
    Ready ready;
    QVERIFY(makeReady(ready));
    QVERIFY(!ready.window->session().saveSnapshots);
    QTest::mouseClick(buttonOf(*ready.window, "button_ende"), Qt::LeftButton);
    QTRY_VERIFY(!ready.window->isVisible());
    const QStringList entries =
        QDir(ready.dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{"QUIMO.dat"});
}

int main(int argc, char **argv)
{
    QTemporaryDir screenConfig;
    useExactOffscreenScreen(screenConfig);
    QApplication app(argc, argv);
    quimo::ui::setUpFonts();
    TestOverviewWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_overview_window.moc"
