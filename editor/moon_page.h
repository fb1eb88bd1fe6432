// The Moon page: each channel's brightness under a full moon overhead, in
// percent of the channel's full intensity (one byte of 1/4096 steps).
#pragma once

#include "editor/channel_rows_page.h"
#include "ui/names.h"

namespace vmx {

class MoonPage final : public ChannelRowsPage {
 public:
  explicit MoonPage(PageContext& context)
      : ChannelRowsPage(context, names::tsMoon, names::lblMoon, "Moon", 41) {}
};

}  // namespace vmx
