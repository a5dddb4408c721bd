#pragma once

#include <QSize>

class QWidget;

namespace quimo::ui {

// Gives a top-level window the outer size of its layout (title bar and frame included, as far
// as the platform draws them) and places it at the centre of the screen whenever it is shown.
// Nothing centres a window by itself when no window manager runs.
void placeCentred(QWidget *window, QSize outerSize);

} // namespace quimo::ui
