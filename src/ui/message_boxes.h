#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace quimo::ui {

// Every message box of the program, with the German captions and button texts its users know.
// Tests install a handler that answers the next box instead of the user.
class MessageBoxes final
{
public:
    // Receives the fully built box and returns the button the user would press.
    using Handler = std::function<QMessageBox::StandardButton(QMessageBox &box)>;
    static void setHandler(Handler handler);

    // "Sollen die Grafiken abgespeichert werden?" - true only for "&Ja".
    static bool askSaveGraphics();

    // "Datei lässt sich nicht öffnen"
    static void showReadFailure();

    // The error box for a failure that ended an action: application title, error icon, OK.
    static void showError(const QString &message);

    // The error box's text: a full stop is appended when the last character sorts after '.'.
    static QString errorText(const QString &message);

private:
    static QMessageBox::StandardButton run(QMessageBox &box);
};

} // namespace quimo::ui
