// The board's live state around the window: the status line in the caption and
// in `lblBoard`, the board clock in status panel 1, the mode in panel 2. One
// object serves a fresh Info, a fresh Config and the end of a link.
#pragma once

namespace vmx {

class PageContext;

class StatusDisplay {
 public:
  explicit StatusDisplay(PageContext& context) : context_(context) {}

  void ApplyInfo();
  void UpdateModePanel();
  // The link ended: clock, mode and status line go, the caption is the plain one.
  void LinkLost();

 private:
  PageContext& context_;
};

}  // namespace vmx
