// The Expert options page: PWM and bus rates, sensor calibration, fan mode,
// chart source, the board's time-zone rules, display formats and temperature
// unit, lightning masks, the random seed, cloud temperatures and the language
// of the board's own display.
#pragma once

#include <array>

#include "ui/page.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

namespace vmx {

class ChoiceGroup;

class ExpertPage final : public Page {
  Q_OBJECT

 public:
  explicit ExpertPage(PageContext& context);

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;

  // Whether the fan follows the LEDs (rbtFMOLED): the water range is then not used.
  bool FanModeLedSelected() const;
  // The language chosen for the board's display; the help pages follow it.
  Language DisplayLanguage() const;

 private:
  QWidget* BuildGeneral();
  QWidget* BuildFanMode();
  QWidget* BuildChartMode();
  QWidget* BuildTimeZone();
  QWidget* BuildFormats();
  QWidget* BuildLightningMask();
  QWidget* BuildCloudTemp();
  QLineEdit* BoundEdit(QWidget* parent, const QString& name, QGridLayout* grid, int row);
  QRadioButton* FlagButton(QWidget* parent, const char* name, uint8_t bit, bool set);

  void TimeZoneChange();
  void btnApplyTZIClick();
  void FlagClick(uint8_t bit, bool set);
  void ShowFlags();
  void ShowTimeZone();

  ChoiceGroup* fanMode_ = nullptr;
  ChoiceGroup* chartMode_ = nullptr;
  std::array<QLineEdit*, 9> zoneEdits_{};
  std::vector<std::tuple<QRadioButton*, uint8_t, bool>> flagButtons_;
  QComboBox* language_ = nullptr;
  QRadioButton* fanModeLed_ = nullptr;
};

}  // namespace vmx
