#include "ui/message_boxes.h"

#include "ui/application.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace quimo::ui {

namespace {

MessageBoxes::Handler &handler()
{
    static MessageBoxes::Handler instance;
    return instance;
}

void setButtonText(QMessageBox &box, QMessageBox::StandardButton which, const QString &text)
{
    box.button(which)->setText(text);
}

} // namespace

void MessageBoxes::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}

QMessageBox::StandardButton MessageBoxes::run(QMessageBox &box)
{
    // Boxes open at the centre of the screen. The box takes its final size only once shown,
    // after Qt has placed it, so it is centred again as soon as it is up.
    box.setWindowModality(Qt::ApplicationModal);
    QTimer::singleShot(0, &box, [&box] {
        if (const QScreen *screen = box.screen()) {
            QRect frame = box.frameGeometry();
            frame.moveCenter(screen->geometry().center());
            box.move(frame.topLeft());
        }
    });
    // QMessageBox itself clicks a button on its plain accelerator letter (J, N).
    if (handler()) {
        return handler()(box);
    }
    box.exec();
    return box.standardButton(box.clickedButton());
}

bool MessageBoxes::askSaveGraphics()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Best\u00e4tigung"),
                    QStringLiteral("Sollen die Grafiken abgespeichert werden?"),
                    QMessageBox::Yes | QMessageBox::No);
    setButtonText(box, QMessageBox::Yes, QStringLiteral("&Ja"));
    setButtonText(box, QMessageBox::No, QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return run(box) == QMessageBox::Yes;
}

void MessageBoxes::showReadFailure()
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle,
                    QStringLiteral("Datei l\u00e4sst sich nicht \u00f6ffnen"), QMessageBox::Ok);
    setButtonText(box, QMessageBox::Ok, QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    run(box);
}

void MessageBoxes::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, errorText(message), QMessageBox::Ok);
    setButtonText(box, QMessageBox::Ok, QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    run(box);
}

QString MessageBoxes::errorText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

} // namespace quimo::ui
