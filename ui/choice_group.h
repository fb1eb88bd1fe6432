// Radio buttons that choose one value of a record field. Selecting a button,
// by the user or by the program showing a record, stores its value; only the
// user's choice sends the record.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "settings/record_access.h"

class QRadioButton;

namespace vmx {

class PageContext;

class ChoiceGroup final : public QObject {
  Q_OBJECT

 public:
  ChoiceGroup(PageContext& context, RecordKind record, std::string field, QObject* parent);

  void Add(QRadioButton* button, int value);
  // Selects the button of the field's value; a value without a button changes nothing.
  void Show();

  // Runs after every selection, by the user or the program.
  std::function<void()> selected;

 private:
  void Select(QRadioButton* button, int value, bool byUser);

  PageContext& context_;
  RecordKind record_;
  std::string field_;
  std::vector<std::pair<QRadioButton*, int>> buttons_;
};

}  // namespace vmx
