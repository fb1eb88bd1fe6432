// Program-made changes to controls. They block the controls' signals, so a
// value put in from a record or a partner control is never taken for user input.
#pragma once

#include <QAbstractSlider>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <string>

namespace vmx {

inline void SetTextQuietly(QLineEdit* edit, const QString& text) {
  if (!edit || edit->text() == text) return;
  const QSignalBlocker quiet(edit);
  edit->setText(text);
}

// The slider clamps the value into its own range.
inline void SetValueQuietly(QAbstractSlider* slider, int64_t value) {
  if (!slider) return;
  const QSignalBlocker quiet(slider);
  slider->setValue(
      static_cast<int>(std::clamp<int64_t>(value, slider->minimum(), slider->maximum())));
}

// The decimal separator of the user's locale, as numbers are shown and typed.
inline std::string DecimalSeparator() {
  return QLocale().decimalPoint().toStdString();
}

}  // namespace vmx
