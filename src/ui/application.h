#pragma once

#include <QApplication>
#include <QString>

namespace quimo::ui {

// Caption of plain message boxes and of the error box.
inline const QString kApplicationTitle = QStringLiteral("QUIMO Auswertung Harnik-QDX");

// The one-line notice under the windows' content.
inline const QString kAuthorNotice =
    QStringLiteral("QUIMO Auswertung \u00b7 Selbsteinsch\u00e4tzung zum Zeitmanagement");

// The program's application object: German texts, the fonts of the windows' layout, and an
// error box for any failure that escapes an event handler, after which the program goes on.
class Application final : public QApplication
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Application)

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// "MS Sans Serif" and "Arial" are what the layout is measured in; Liberation Sans has the same
// metrics as Arial. Sets the window font (11 px) as the default font.
void setUpFonts();

// Qt's own dialogs (the open dialog) in German.
void installGermanTranslations(QCoreApplication &application);

// A font of the layout, sized in pixels so that the 96-dpi layout holds on every screen.
QFont layoutFont(const QString &family, int pixelSize, bool bold = false);

} // namespace quimo::ui
