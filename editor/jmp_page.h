// The JMP pin page: what the board's link-port pin 5 does, with the cooler's
// and heater's switching temperatures.
#pragma once

#include "ui/page.h"

namespace vmx {

class ChoiceGroup;

class JmpPage final : public Page {
  Q_OBJECT

 public:
  explicit JmpPage(PageContext& context);

  void Apply(RecordKind record) override;

 private:
  ChoiceGroup* mode_;
};

}  // namespace vmx
