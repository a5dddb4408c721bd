#pragma once

// Plays the user's part in the program's message boxes and open dialog, and sets up the
// offscreen screen on which window sizes and positions are exact.

#include "ui/message_boxes.h"
#include "ui/open_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace quimo::testing {

// A 1280 x 1024 screen at 96 dpi without fake frames: outer size = client size. Call before
// the application object is created; dir must outlive the application.
inline void useExactOffscreenScreen(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("offscreen.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(R"({"windowFrameMargins": false, "screens": [{"name": "S0", "x": 0, "y": 0,)"
                   R"( "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                   R"( "dpr": 1}]})");
        file.close();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
}

// What the user did with a message box. Every reply is carried out on the box as shown, so
// the box's own default and escape handling decides the answer.
enum class BoxReply { Enter, Escape, CloseBox, ClickYes, ClickNo, ClickOk };

// One message box as the user saw it.
struct SeenBox
{
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QStringList buttonsLeftToRight;
    QString defaultButton;
    QString escapeButton;
    bool centred = false;
    bool answered = false; // false: the reply did not close the box, the recorder had to
};

// Answers the program's message boxes while it lives: the queued replies in turn, then Enter.
class MessageBoxRecorder final
{
    Q_DISABLE_COPY_MOVE(MessageBoxRecorder)

public:
    MessageBoxRecorder()
    {
        ui::MessageBoxes::setHandler([this](QMessageBox &box) { return answer(box); });
    }
    ~MessageBoxRecorder() { ui::MessageBoxes::setHandler({}); }

    void queue(BoxReply reply) { replies_.append(reply); }
    const QList<SeenBox> &boxes() const { return boxes_; }
    QStringList texts() const
    {
        QStringList result;
        for (const SeenBox &box : boxes_) {
            result.append(box.text);
        }
        return result;
    }

private:
    static QString textOf(const QAbstractButton *button)
    {
        return button ? button->text() : QString();
    }

    static void act(QMessageBox &box, BoxReply reply)
    {
        QWidget *focus = box.focusWidget() ? box.focusWidget() : &box;
        switch (reply) {
        case BoxReply::Enter:
            QTest::keyClick(focus, Qt::Key_Return);
            break;
        case BoxReply::Escape:
            QTest::keyClick(focus, Qt::Key_Escape);
            break;
        case BoxReply::CloseBox:
            box.close();
            break;
        case BoxReply::ClickYes:
        case BoxReply::ClickNo:
        case BoxReply::ClickOk: {
            const QMessageBox::StandardButton which = reply == BoxReply::ClickYes ? QMessageBox::Yes
                                                      : reply == BoxReply::ClickNo
                                                          ? QMessageBox::No
                                                          : QMessageBox::Ok;
            if (QAbstractButton *button = box.button(which)) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
            break;
        }
        }
    }

    QMessageBox::StandardButton answer(QMessageBox &box)
    {
        const BoxReply reply = replies_.isEmpty() ? BoxReply::Enter : replies_.takeFirst();
        SeenBox seen;
        seen.caption = box.windowTitle();
        seen.icon = box.icon();
        seen.text = box.text();
        seen.defaultButton = textOf(box.defaultButton());
        seen.escapeButton = textOf(box.escapeButton());

        QTimer::singleShot(0, &box, [&box, &seen, reply] {
            QList<QAbstractButton *> buttons = box.buttons();
            std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            for (const QAbstractButton *button : buttons) {
                seen.buttonsLeftToRight.append(button->text());
            }
            if (const QScreen *screen = box.screen()) {
                const QPoint offset = box.frameGeometry().center() - screen->geometry().center();
                seen.centred = offset.manhattanLength() <= 2;
            }
            seen.answered = true;
            act(box, reply);
        });
        // A reply that does not close the box must not hang the test.
        QTimer::singleShot(5000, &box, [&box, &seen] {
            seen.answered = false;
            box.done(-1);
        });
        box.exec();
        boxes_.append(seen);
        return box.standardButton(box.clickedButton());
    }

    QList<BoxReply> replies_;
    QList<SeenBox> boxes_;
};

// Answers the open dialog while it lives: chooses path, or cancels when path is empty.
// Keeps what the dialog showed when it opened.
class OpenDialogAnswer final
{
    Q_DISABLE_COPY_MOVE(OpenDialogAnswer)

public:
    explicit OpenDialogAnswer(const QString &path)
    {
        ui::OpenDialog::setHandler([this, path](QFileDialog &dialog) {
            ++shown;
            objectName = dialog.objectName();
            fileMode = dialog.fileMode();
            directory = dialog.directory().absolutePath();
            selectedFiles = dialog.selectedFiles();
            if (const auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
                fileNameText = edit->text();
            }
            sizeGripEnabled = dialog.isSizeGripEnabled();
            if (path.isEmpty()) {
                return false;
            }
            dialog.selectFile(path);
            return true;
        });
    }
    ~OpenDialogAnswer() { ui::OpenDialog::setHandler({}); }

    int shown = 0;
    QString objectName;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QString directory;
    QStringList selectedFiles;
    QString fileNameText; // the file name box
    bool sizeGripEnabled = false;
};

} // namespace quimo::testing
