// Wires settings controls to their record fields by the binding rows of
// settings/bindings.h. Only what the user does counts: typing, a slider
// moved by mouse, keys or wheel (or while it has the focus). Values put into
// controls by the program, from a record or a partner, never send anything;
// and a record shown again skips the control the user is working in.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/bindings.h"

class QLineEdit;
class QSlider;
class QWidget;

namespace vmx {

class PageContext;

class Binder final : public QObject {
  Q_OBJECT

 public:
  Binder(PageContext& context, QObject* parent);

  // The control's object name selects its binding row.
  void Bind(QLineEdit* edit);
  void Bind(QSlider* slider);

  // Shows the bound fields of `record` (every record when empty).
  void Apply(std::optional<RecordKind> record = std::nullopt);

  // Runs after a user change was stored and its write bit raised.
  std::function<void(const BoundControl&)> changed;

  // True when the user made this change: typed into the edit, moved the slider.
  static bool UserMoved(QSlider* slider);

 private:
  struct Entry {
    QWidget* control;
    BoundControl bound;
    // The text last made for an edit and what it was made from: records are
    // read again and again with the same values.
    struct Shown {
      int64_t value;
      uint8_t flag;
      std::string separator;
      bool operator==(const Shown&) const = default;
    };
    std::optional<Shown> shownFrom{};
    QString shownText{};
  };
  const Entry* Find(QWidget* control) const;
  void Add(QWidget* control);
  void EditChanged(QLineEdit* edit);
  void SliderMoved(QSlider* slider);
  void Show(Entry& entry);

  PageContext& context_;
  std::vector<Entry> entries_;
};

// Calls `handler` for user-made text changes of `edit` only: typing (textEdited)
// or a change while the edit has the focus.
void OnUserText(QLineEdit* edit, QObject* receiver, std::function<void()> handler);
// Calls `handler` for user-made moves of `slider` only.
void OnUserSlide(QSlider* slider, QObject* receiver, std::function<void()> handler);

}  // namespace vmx
