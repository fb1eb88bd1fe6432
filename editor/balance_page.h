// The White balance page: each channel's share in percent, the common sum
// and the sum's daily ramp.
#pragma once

#include "editor/channel_rows.h"
#include "ui/page.h"

namespace vmx {

class BalancePage final : public Page {
  Q_OBJECT

 public:
  explicit BalancePage(PageContext& context);

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override { ChannelColorsChanged(); }

 private:
  void ShowBalanceSum();

  ChannelRows rows_;
  QSlider* sumSlider_ = nullptr;
  QLineEdit* sumEdit_ = nullptr;
};

}  // namespace vmx
