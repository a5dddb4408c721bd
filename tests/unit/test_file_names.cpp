#include "core/file_names.h"

#include <QString>
#include <QTest>

using namespace quimo;

class TestFileNames : public QObject
{
    Q_OBJECT

private slots:
    void baseNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::newRow("extension") << "/d/Test.dat"
                                   << "Test";
        QTest::newRow("no extension") << "/d/Test"
                                      << "Test";
        QTest::newRow("two dots") << "/d/Test.2004.dat"
                                  << "Test";
        QTest::newRow("dot in the folder") << "/d.alt/Test.dat"
                                           << "Test";
        QTest::newRow("nothing before the dot") << "/d/.dat"
                                                << "";
        QTest::newRow("long extension") << "/d/a." + QString(100, 'x') << "a";
        QTest::newRow("umlaut and blank") << "/home/anna/Prüfung März.dat"
                                          << "Prüfung März";
        QTest::newRow("no folder") << "QUIMO.dat"
                                   << "QUIMO";
    }

    void baseNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QCOMPARE(QString::fromStdString(baseName(path.toStdString())), base);
    }

    void overviewPictures_data()
    {
        QTest::addColumn<QString>("dataFile");
        QTest::addColumn<QString>("picture");
        QTest::newRow("three-letter extension") << "/d/QUIMO.dat"
                                                << "/d/QUIMO.jpg";
        QTest::newRow("longer extension") << "antworten.data"
                                          << "antworten.jpg";
        QTest::newRow("shorter extension") << "a.db"
                                           << "a.jpg";
        QTest::newRow("no extension") << "antworten"
                                      << "antworten.jpg";
        QTest::newRow("dot only in the folder") << "/d.alt/QUIMO"
                                                << "/d.alt/QUIMO.jpg";
        QTest::newRow("two dots") << "/d/Test.2004.dat"
                                  << "/d/Test.2004.jpg";
        // The picture must never overwrite the data file itself.
        QTest::newRow("data file is a .jpg") << "/d/x.jpg"
                                             << "/d/x.jpg.jpg";
    }

    void overviewPictures()
    {
        QFETCH(QString, dataFile);
        QFETCH(QString, picture);
        QCOMPARE(QString::fromStdString(overviewPictureName(dataFile.toStdString())), picture);
    }

    void detailPictures_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<QString>("picture");
        QTest::newRow("block 1") << 1 << "QUIMO-1Ziele und Visionen kreiieren.jpg";
        QTest::newRow("block 4") << 4 << "QUIMO-4Teilen und gewinnen.jpg";
        QTest::newRow("block 5, umlaut") << 5 << "QUIMO-5Prioritäten setzen.jpg";
        QTest::newRow("block 9") << 9 << "QUIMO-9Initiative ergreifen.jpg";
    }

    void detailPictures()
    {
        QFETCH(int, block);
        QFETCH(QString, picture);
        QCOMPARE(QString::fromUtf8(detailPictureName("QUIMO", block)), picture);
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "test_file_names.moc"
