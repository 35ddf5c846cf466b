// Saves the whole X screen as a PNG (checking the window under a virtual
// display):  vantor_screen_grab OUT.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantor_screen_grab OUT.png\n");
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || !screen->grabWindow(0).save(argv[1])) {
    std::fprintf(stderr, "vantor_screen_grab: can not grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
