// Builders for the pages' controls. A labelled edit gets its caption from the
// language table through its buddy label, as the window's captions are applied.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "ui/names.h"

namespace vmx {

struct LabeledEdit {
  QLabel* label;
  QLineEdit* edit;
};

inline QLineEdit* NewEdit(QWidget* parent, const QString& name, int width = 64) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(width);
  return edit;
}

inline LabeledEdit NewLabeledEdit(QWidget* parent, const QString& name, int width = 64) {
  QLineEdit* edit = NewEdit(parent, name, width);
  auto* label = new QLabel(parent);
  label->setObjectName(names::stem::lbl_ + name);  // the edit's own name is what the captions use
  label->setBuddy(edit);
  return {label, edit};
}

inline QSlider* NewSlider(QWidget* parent, const QString& name, int tickInterval = 0) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(name);
  slider->setFocusPolicy(Qt::StrongFocus);
  if (tickInterval > 0) {
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
  }
  return slider;
}

inline QLabel* NewLabel(QWidget* parent, const QString& name = {}, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  if (!name.isEmpty()) label->setObjectName(name);
  return label;
}

}  // namespace vmx
