// A Channels page: six channels, each with its colour-name box, slider, percent
// field and ON/OFF buttons. Two of them hold channels A-F and G-L; the first
// also serves the menu items that set all twelve channels at once.
#pragma once

#include <array>

#include "ui/page.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vmx {

class ChannelsPage final : public Page {
  Q_OBJECT

 public:
  ChannelsPage(PageContext& context, const char* name, int firstChannel);

  int FirstChannel() const { return firstChannel_; }

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override;

 private:
  static constexpr int kBands = 6;
  struct Band {
    QComboBox* name;
    QSlider* slider;
    QLineEdit* percent;
  };

  QWidget* BuildBand(int channel, QWidget* parent);
  void WireAllChannelItems();
  void btnOnAClick(int channel, bool on);
  void cmbNameAChange(int channel, int index);
  void SetAllChannels(int64_t value);

  int firstChannel_;
  std::array<Band, kBands> bands_{};
};

}  // namespace vmx
