#include "ui/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace vantor::ui {

QPixmap AppIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(20, 20, 20));
  painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
  const QRectF face(s * 0.12, s * 0.12, s * 0.76, s * 0.76);
  painter.setBrush(QColor(180, 180, 180));
  painter.drawEllipse(face);
  const QRectF scale = face.adjusted(s * 0.05, s * 0.05, -s * 0.05, -s * 0.05);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(30, 80, 150), s * 0.06, Qt::SolidLine, Qt::FlatCap));
  painter.drawArc(scale, -45 * 16, 270 * 16);
  painter.setPen(QPen(QColor(210, 63, 10), s * 0.06, Qt::SolidLine, Qt::FlatCap));
  painter.drawArc(scale, -45 * 16, 60 * 16);
  painter.setPen(QPen(QColor(210, 63, 10), s * 0.07, Qt::SolidLine, Qt::RoundCap));
  const QPointF centre = face.center();
  painter.drawLine(centre, centre + QPointF(s * 0.24, -s * 0.16));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(10, 10, 10));
  painter.drawEllipse(centre, s * 0.05, s * 0.05);
  QFont font("Liberation Sans");
  font.setBold(true);
  font.setPixelSize(static_cast<int>(s * 0.26));
  painter.setFont(font);
  painter.setPen(QColor(20, 20, 20));
  painter.drawText(QRectF(0, s * 0.52, s, s * 0.3), Qt::AlignHCenter | Qt::AlignVCenter, "V");
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(AppIconPixmap(size));
  return icon;
}

}  // namespace vantor::ui
