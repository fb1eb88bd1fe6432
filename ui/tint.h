// A channel's light tint behind its fields.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

namespace vmx {

inline void Tint(QWidget* field, uint32_t argb) {
  if (!field) return;
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, QColor::fromRgba(argb));
  field->setPalette(palette);
}

inline QColor TintOf(const QWidget* field) {
  return field->palette().color(QPalette::Base);
}

}  // namespace vmx
