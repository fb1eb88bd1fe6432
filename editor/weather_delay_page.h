// The Delays page: how long each channel waits before a cloud or storm
// reaches it (255: no weather on that channel).
#pragma once

#include "editor/channel_rows.h"
#include "ui/page.h"

namespace vmx {

class WeatherDelayPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherDelayPage(PageContext& context);

  void Apply(PageUpdate record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override { ChannelColorsChanged(); }

 private:
  ChannelRows rows_;
};

}  // namespace vmx
