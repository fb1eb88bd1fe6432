#include "ui/choice_group.h"

#include <QRadioButton>

#include "ui/page_context.h"

namespace vmx {

ChoiceGroup::ChoiceGroup(PageContext& context, RecordKind record, std::string field,
                         QObject* parent)
    : QObject(parent), context_(context), record_(record), field_(std::move(field)) {}

void ChoiceGroup::Add(QRadioButton* button, int value) {
  buttons_.emplace_back(button, value);
  connect(button, &QRadioButton::clicked, this,
          [this, button, value] { Select(button, value, true); });
}

void ChoiceGroup::Select(QRadioButton* button, int value, bool byUser) {
  if (!button->isChecked()) button->setChecked(true);
  WriteField(context_.Store(), record_, field_, value);
  if (byUser) context_.Raise(WriteBitOf(record_));
  if (selected) selected();
}

void ChoiceGroup::Show() {
  const std::optional<int64_t> value = ReadField(context_.Store(), record_, field_);
  for (const auto& [button, v] : buttons_) {
    if (value != v) continue;
    // Selecting a button anew runs its handler, as a click would, but sends nothing.
    if (!button->isChecked()) Select(button, v, false);
    return;
  }
}

}  // namespace vmx
