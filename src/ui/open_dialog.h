#pragma once

#include <QString>

#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

namespace quimo::ui {

// The dialog in which the user chooses the answer file. Tests install a handler that plays
// the user's part on the fully built dialog and returns whether it was accepted.
class OpenDialog final
{
public:
    using Handler = std::function<bool(QFileDialog &dialog)>;
    static void setHandler(Handler handler);

    // The chosen file's full path, or nothing when the user cancelled. Afterwards the chosen
    // file's folder is the current folder, where the block pictures are written.
    static std::optional<QString> chooseDataFile(QWidget *parent);
};

} // namespace quimo::ui
