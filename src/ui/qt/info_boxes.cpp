#include "ui/qt/info_boxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/qt/app_icon.h"

namespace vantor::ui {
namespace {

// A dark box that paints its icon and lines of text at fixed places.
class TextBox final : public QDialog {
 public:
  struct Line {
    int x, y;
    const char* text;
  };
  TextBox(QWidget* owner, const QString& title, QSize size, std::initializer_list<Line> lines)
      : QDialog(owner), lines_(lines) {
    setWindowTitle(title);
    setFixedSize(size);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(20, 20, 20));
    setPalette(palette);
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(size.width() / 2 - 40, size.height() - 40, 80, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(20, 20, AppIconPixmap(64));
    painter.setPen(QColor(240, 240, 240));
    QFont font("Liberation Sans");
    font.setPixelSize(14);
    painter.setFont(font);
    for (const Line& line : lines_) painter.drawText(line.x, line.y, QString::fromUtf8(line.text));
  }

 private:
  std::vector<Line> lines_;
};

}  // namespace

void ShowAboutBox(QWidget* owner) {
  TextBox box(owner, "About Vantor", QSize(420, 190),
              {{110, 40, "VantorFlash"},
               {110, 64, "Live data, data logs, VE learn and flashing"},
               {110, 84, "for the ORV KDM-9 engine control module."},
               {110, 116, "Version 1.0"}});
  box.exec();
}

void ShowUpdateAboutBox(QWidget* owner) {
  TextBox box(owner, "About ORV_KDM9Update", QSize(420, 170),
              {{110, 40, "ORV KDM-9 Update"},
               {110, 64, "Version 1.1a"},
               {110, 96, "Keep the key on and the engine off while it updates."}});
  box.exec();
}

void ShowHelpBox(QWidget* owner) {
  TextBox box(owner, "Help", QSize(520, 260),
              {{180, 70, "Hi, welcome to the Vantor Display"},
               {100, 180, "This program is for use with the Corvane KDM-9 System."}});
  box.exec();
}

}  // namespace vantor::ui
