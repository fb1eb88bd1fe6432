// A Channels page: six channels, each with its name box, slider, edit and
// on/off buttons. Two of them hold channels A-F and G-L.
#pragma once

#include "app/page.h"

namespace vmx {

class ChannelsPage final : public Page {
  Q_OBJECT

 public:
  ChannelsPage(TfrmLantix& form, const char* name, int firstChannel);

  int FirstChannel() const { return firstChannel_; }

 private:
  int firstChannel_;
};

}  // namespace vmx
