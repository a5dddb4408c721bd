#pragma once

#include <QIcon>
#include <QPixmap>

namespace quimo::ui {

// The door on the close buttons: an 18 x 18 picture in flat 16-colour style, with a greyed
// image for the disabled state.
QIcon doorIcon();

// An 18 x 18 green check mark on a transparent ground; marks the blocks already viewed.
QIcon checkMarkIcon();

// The logo of the block menu, 400 x 334 pixels.
QPixmap logoPixmap();

// The program's window and desktop icon.
QIcon applicationIcon();

} // namespace quimo::ui
