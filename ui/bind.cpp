#include "ui/bind.h"

#include <QLineEdit>
#include <QSlider>

#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

constexpr const char* kUserAction = "vmxUserAction";

}  // namespace

void OnUserText(QLineEdit* edit, QObject* receiver, std::function<void()> handler) {
  // Typing emits textChanged, then textEdited: with the focus the first one
  // acts, without it (keys sent straight to the edit) the second.
  QObject::connect(edit, &QLineEdit::textChanged, receiver, [edit, handler] {
    if (edit->hasFocus()) handler();
  });
  QObject::connect(edit, &QLineEdit::textEdited, receiver, [edit, handler] {
    if (!edit->hasFocus()) handler();
  });
}

void OnUserSlide(QSlider* slider, QObject* receiver, std::function<void()> handler) {
  // A mouse, key or wheel action marks the slider just before its value moves.
  QObject::connect(slider, &QAbstractSlider::actionTriggered, receiver,
                   [slider] { slider->setProperty(kUserAction, true); });
  QObject::connect(slider, &QAbstractSlider::valueChanged, receiver, [slider, handler] {
    if (Binder::UserMoved(slider)) handler();
    slider->setProperty(kUserAction, false);
  });
}

bool Binder::UserMoved(QSlider* slider) {
  return slider->hasFocus() || slider->isSliderDown() || slider->property(kUserAction).toBool();
}

Binder::Binder(PageContext& context, QObject* parent) : QObject(parent), context_(context) {}

void Binder::Add(QWidget* control) {
  std::optional<BoundControl> bound = FindBinding(control->objectName().toStdString());
  if (!bound) {
    qWarning("no binding for %s", qPrintable(control->objectName()));
    return;
  }
  entries_.push_back({control, std::move(*bound)});
}

void Binder::Bind(QLineEdit* edit) {
  Add(edit);
  OnUserText(edit, this, [this, edit] { EditChanged(edit); });
}

void Binder::Bind(QSlider* slider) {
  Add(slider);
  const Entry* entry = Find(slider);
  if (entry) slider->setRange(entry->bound.binding->minimum, entry->bound.binding->maximum);
  OnUserSlide(slider, this, [this, slider] { SliderMoved(slider); });
}

const Binder::Entry* Binder::Find(QWidget* control) const {
  for (const Entry& e : entries_)
    if (e.control == control) return &e;
  return nullptr;
}

void Binder::EditChanged(QLineEdit* edit) {
  const Entry* entry = Find(edit);
  if (!entry) return;
  const BoundControl& b = entry->bound;
  SharedStore& store = context_.Store();
  const std::optional<int64_t> typed = ParseShown(b.binding->shown, edit->text().toStdString(),
                                                  store.config.Flag, DecimalSeparator());
  if (!typed) return;
  WriteField(store, b.binding->record, b.field, *typed);
  // Channel sliders show what was typed, limited to their range; the others
  // follow the stored value (a byte field keeps only its low bits).
  const int64_t shown = b.binding->record == RecordKind::Info
                            ? *typed
                            : ReadField(store, b.binding->record, b.field).value_or(0);
  if (!b.slider.empty())
    SetValueQuietly(qobject_cast<QSlider*>(context_.Control(QString::fromStdString(b.slider))),
                    shown);
  context_.Raise(WriteBitOf(b.binding->record));
  if (changed) changed(b);
}

void Binder::SliderMoved(QSlider* slider) {
  const Entry* entry = Find(slider);
  if (!entry) return;
  const BoundControl& b = entry->bound;
  int position = slider->value();
  auto other = [this](const std::string& name) {
    return name.empty() ? nullptr
                        : qobject_cast<QSlider*>(context_.Control(QString::fromStdString(name)));
  };
  if (QSlider* above = other(b.notAbove)) position = std::min(position, above->value());
  if (QSlider* below = other(b.notBelow)) position = std::max(position, below->value());
  if (position != slider->value()) SetValueQuietly(slider, position);

  SharedStore& store = context_.Store();
  if (b.binding->sliderStoresOnlyChanges &&
      ReadField(store, b.binding->record, b.field) == position)
    return;
  WriteField(store, b.binding->record, b.field, position);
  if (!b.edit.empty()) {
    const int64_t stored = ReadField(store, b.binding->record, b.field).value_or(0);
    SetTextQuietly(qobject_cast<QLineEdit*>(context_.Control(QString::fromStdString(b.edit))),
                   QString::fromStdString(FormatShown(b.binding->shown, stored, store.config.Flag,
                                                      DecimalSeparator())));
  }
  context_.Raise(WriteBitOf(b.binding->record));
  if (changed) changed(b);
}

void Binder::Show(Entry& entry) {
  if (entry.control->hasFocus()) return;
  SharedStore& store = context_.Store();
  const BoundControl& b = entry.bound;
  const std::optional<int64_t> value = ReadField(store, b.binding->record, b.field);
  if (!value) return;
  if (auto* edit = qobject_cast<QLineEdit*>(entry.control)) {
    const Entry::Shown from{*value, store.config.Flag, DecimalSeparator()};
    if (entry.shownFrom != from) {
      entry.shownText = QString::fromStdString(
          FormatShown(b.binding->shown, from.value, from.flag, from.separator));
      entry.shownFrom = from;
    }
    // The user's own text, left in the edit, is replaced as before.
    SetTextQuietly(edit, entry.shownText);
  } else if (auto* slider = qobject_cast<QSlider*>(entry.control)) {
    SetValueQuietly(slider, *value);
  }
}

void Binder::Apply(std::optional<RecordKind> record) {
  for (Entry& e : entries_)
    if (!record || e.bound.binding->record == *record) Show(e);
}

}  // namespace vmx
