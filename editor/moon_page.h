// The Moon page: each channel's brightness under a full moon overhead, in
// percent of the channel's full intensity (one byte of 1/4096 steps).
#pragma once

#include "editor/channel_rows.h"
#include "ui/page.h"

namespace vmx {

class MoonPage final : public Page {
  Q_OBJECT

 public:
  explicit MoonPage(PageContext& context);

  void Apply(PageUpdate record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override { ChannelColorsChanged(); }

 private:
  ChannelRows rows_;
};

}  // namespace vmx
