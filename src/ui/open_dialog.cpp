#include "ui/open_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <utility>

namespace quimo::ui {

namespace {

OpenDialog::Handler &handler()
{
    static OpenDialog::Handler instance;
    return instance;
}

} // namespace

void OpenDialog::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}

std::optional<QString> OpenDialog::chooseDataFile(QWidget *parent)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(QDir::currentPath());
    dialog.selectFile(QStringLiteral("QUIMO.dat"));
    dialog.setSizeGripEnabled(true);
    // Folder icons of the desktop's own choosing cost time and tell the user nothing here.
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);

    const bool accepted = handler() ? handler()(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

} // namespace quimo::ui
