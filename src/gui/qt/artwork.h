#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorvel::qt {

/// The shared artwork, compiled into the program from resources/. A file that was not there at
/// build time gives an empty picture.
QIcon WindowIcon();
QPixmap Logo();
QPixmap AboutIcon();

}  // namespace quorvel::qt
