#pragma once
// The program's icon, drawn in code: a dial face with its blue scale, red
// zone and needle on a dark tile.

#include <QIcon>
#include <QPixmap>

namespace vantor::ui {

QPixmap AppIconPixmap(int size);
QIcon AppIcon();

}  // namespace vantor::ui
