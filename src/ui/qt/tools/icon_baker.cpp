// Writes the program's icon, as the windows draw it, into the PNG files the
// packages install and the Windows icon is made from:
//   vantor_icon_baker DIR   (writes DIR/vantor_16.png ... DIR/vantor_256.png)
#include <QApplication>
#include <QDir>

#include <cstdio>

#include "ui/qt/app_icon.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantor_icon_baker DIR\n");
    return 2;
  }
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const QString path = QDir(argv[1]).filePath(QString("vantor_%1.png").arg(size));
    if (!vantor::ui::AppIconPixmap(size).save(path)) {
      std::fprintf(stderr, "vantor_icon_baker: can not write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
