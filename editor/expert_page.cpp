#include "editor/expert_page.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "astro/time_zone.h"
#include "lang/channel_text.h"
#include "lang/number_text.h"
#include "settings/zone_fields.h"
#include "ui/choice_group.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/quiet.h"
#include "ui/tint.h"

namespace vmx {
namespace {

// The nine time-zone edits in the order their fields are parsed.
constexpr const char* kZoneEdits[] = {
    names::edtTimeZoneBias,         names::edtTimeZoneStandardMonth,     names::edtTimeZoneStandardDay,
    names::edtTimeZoneStandardHour, names::edtTimeZoneStandardDayOfWeek, names::edtTimeZoneDaylightMonth,
    names::edtTimeZoneDaylightDay,  names::edtTimeZoneDaylightHour,      names::edtTimeZoneDaylightDayOfWeek};

QGroupBox* Group(QWidget* parent, const char* name) {
  auto* box = new QGroupBox(parent);
  box->setObjectName(name);
  return box;
}

QRadioButton* Radio(QWidget* parent, const char* name) {
  auto* button = new QRadioButton(parent);
  button->setObjectName(name);
  return button;
}

// The zone fields as the edits show them, in edit order.
std::array<int64_t, 9> ZoneValues(const Expert& e) {
  return {e.Bias,          e.StandardMonth, e.StandardDay,  e.StandardHour,     e.StandardDayOfWeek,
          e.DaylightMonth, e.DaylightDay,   e.DaylightHour, e.DaylightDayOfWeek};
}

}  // namespace

ExpertPage::ExpertPage(PageContext& context) : Page(context, names::tsExpert) {
  Subscribe({RecordKind::Expert, RecordKind::ExpertWeather, RecordKind::Config});
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* inner = new QWidget(scroll);
  auto* grid = new QGridLayout(inner);
  // The long radio captions get the full width; the short groups share rows.
  grid->addWidget(BuildGeneral(), 0, 0, 1, 2);
  grid->addWidget(BuildFanMode(), 1, 0, 1, 2);
  grid->addWidget(BuildChartMode(), 2, 0, 1, 2);
  grid->addWidget(BuildTimeZone(), 3, 0);
  grid->addWidget(BuildFormats(), 3, 1);
  grid->addWidget(BuildLightningMask(), 4, 0);
  grid->addWidget(BuildCloudTemp(), 4, 1);
  grid->setRowStretch(5, 1);
  scroll->setWidget(inner);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
}

QLineEdit* ExpertPage::BoundEdit(QWidget* parent, const QString& name, QGridLayout* grid, int row) {
  const LabeledEdit e = NewLabeledEdit(parent, name);
  e.label->setWordWrap(true);
  e.label->setMinimumWidth(320);
  grid->addWidget(e.label, row, 0);
  grid->addWidget(e.edit, row, 1);
  Bindings().Bind(e.edit);
  return e.edit;
}

QWidget* ExpertPage::BuildGeneral() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  BoundEdit(box, names::edtPWMPrescaler, grid, 0);
  grid->addWidget(NewLabel(box, names::lblPWMPrescaler), 0, 2);
  BoundEdit(box, names::edtTWIBitrate, grid, 1);
  grid->addWidget(NewLabel(box, names::lblTWIBitrate), 1, 2);
  BoundEdit(box, names::edtTempOffset, grid, 2);
  BoundEdit(box, names::edtRandomInit, grid, 3);
  grid->addWidget(NewLabel(box, names::lblLanguage), 4, 0);
  language_ = new QComboBox(box);
  language_->setObjectName(names::cmbLanguage);
  grid->addWidget(language_, 4, 1, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(2, 1);
  // Only the user's choice changes the language of the board's own display.
  connect(language_, &QComboBox::activated, this, [this](int index) {
    Context().Store().expert.Language = static_cast<uint8_t>(index);
    Context().Raise(request::WriteExpert);
  });
  return box;
}

bool ExpertPage::FanModeLedSelected() const {
  return fanModeLed_->isChecked();
}

Language ExpertPage::DisplayLanguage() const {
  // The list holds the languages in the order of Language.
  return language_->currentIndex() == static_cast<int>(Language::German) ? Language::German
                                                                         : Language::English;
}

QWidget* ExpertPage::BuildFanMode() {
  QGroupBox* box = Group(this, names::gbxFanMode);
  auto* grid = new QGridLayout(box);
  fanMode_ = new ChoiceGroup(Context(), RecordKind::Expert, "FanMode", this);
  const std::pair<const char*, int> buttons[] = {
      {names::rbtFMOLED, 0}, {names::rbtFMOWater, 1}, {names::rbtFMOWaterMaster, 2}};
  int row = 0;
  for (const auto& [name, value] : buttons) {
    QRadioButton* button = Radio(box, name);
    grid->addWidget(button, row++, 0, 1, 3);
    fanMode_->Add(button, value);
    if (value == 0) fanModeLed_ = button;
  }
  // The enabling of the hysteresis and of the fan level when the LEDs are off
  // follows the fan mode.
  fanMode_->selected = [this] { Context().UpdateEnabling(); };
  BoundEdit(box, names::edtTempWaterLow, grid, row);
  QLineEdit* high = NewEdit(box, names::edtTempWaterHigh);
  Bindings().Bind(high);
  grid->addWidget(high, row, 2);
  grid->setColumnStretch(3, 1);
  return box;
}

QWidget* ExpertPage::BuildChartMode() {
  QGroupBox* box = Group(this, names::gbxChartMode);
  auto* grid = new QGridLayout(box);
  chartMode_ = new ChoiceGroup(Context(), RecordKind::Expert, "ChartMode", this);
  const std::pair<const char*, int> buttons[] = {
      {names::rbtCHMTempWater, 0}, {names::rbtCHMTempBoard, 1}, {names::rbtCHMVoltage, 2}, {names::rbtCHMTempSlave, 3}};
  int row = 0;
  for (const auto& [name, value] : buttons) {
    QRadioButton* button = Radio(box, name);
    grid->addWidget(button, row++, 0, 1, 3);
    chartMode_->Add(button, value);
  }
  BoundEdit(box, names::edtChartInterval, grid, row++);
  BoundEdit(box, names::edtChartScale, grid, row);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* ExpertPage::BuildTimeZone() {
  QGroupBox* box = Group(this, names::gbxTimeZone);
  auto* grid = new QGridLayout(box);
  int row = 0;
  for (const char* name : kZoneEdits) {
    const LabeledEdit e = NewLabeledEdit(box, name);
    grid->addWidget(e.label, row, 0);
    grid->addWidget(e.edit, row, 1);
    zoneEdits_[static_cast<size_t>(row)] = e.edit;
    OnUserText(e.edit, this, [this] { TimeZoneChange(); });
    ++row;
  }
  auto* apply = new QPushButton(box);
  apply->setObjectName(names::btnApplyTZI);
  grid->addWidget(apply, row, 0, 1, 2, Qt::AlignLeft);
  connect(apply, &QPushButton::clicked, this, &ExpertPage::btnApplyTZIClick);
  return box;
}

QRadioButton* ExpertPage::FlagButton(QWidget* parent, const char* name, uint8_t bit, bool set) {
  QRadioButton* button = Radio(parent, name);
  flagButtons_.emplace_back(button, bit, set);
  connect(button, &QRadioButton::clicked, this, [this, bit, set] { FlagClick(bit, set); });
  return button;
}

QWidget* ExpertPage::BuildFormats() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  const std::tuple<const char*, const char*, const char*, uint8_t> groups[] = {
      {names::gbxTemperatureUnit, names::rbtCelsius, names::rbtFahrenheit, config_flag::Fahrenheit},
      {names::gbxTimeFormat, names::rbt24h, names::rbt12h, config_flag::Clock12h},
      {names::gbxLCDFormat, names::rbt16x2, names::rbt20x4, config_flag::Display20x4}};
  for (const auto& [group, clear, set, bit] : groups) {
    QGroupBox* box = Group(column, group);
    auto* inner = new QVBoxLayout(box);
    inner->addWidget(FlagButton(box, clear, bit, false));
    inner->addWidget(FlagButton(box, set, bit, true));
    layout->addWidget(box);
  }
  layout->addStretch(1);
  return column;
}

QWidget* ExpertPage::BuildLightningMask() {
  QGroupBox* box = Group(this, names::gbxLightningMask);
  auto* grid = new QGridLayout(box);
  for (int n = 0; n < kChannelCount; ++n) {
    QLineEdit* edit = NewEdit(box, names::stem::edtLightningMask + QString::number(n), 48);
    edit->setProperty("tag", n);
    Bindings().Bind(edit);
    grid->addWidget(NewLabel(box, {}, QString::fromStdString(ChannelLetter(n))), n / 6,
                    2 * (n % 6));
    grid->addWidget(edit, n / 6, 2 * (n % 6) + 1);
  }
  return box;
}

QWidget* ExpertPage::BuildCloudTemp() {
  QGroupBox* box = Group(this, names::gbxCloudTemp);
  auto* grid = new QGridLayout(box);
  BoundEdit(box, names::edtCloudTempWater, grid, 0);
  BoundEdit(box, names::edtCloudTempBoard, grid, 1);
  return box;
}

void ExpertPage::TimeZoneChange() {
  // Parsed in order; the first edit that does not parse ends it, and what was
  // stored before it stays without being sent.
  Expert& e = Context().Store().expert;
  int16_t* bias = &e.Bias;
  int8_t* bytes[] = {&e.StandardMonth, &e.StandardDay, &e.StandardHour, &e.StandardDayOfWeek,
                     &e.DaylightMonth, &e.DaylightDay, &e.DaylightHour, &e.DaylightDayOfWeek};
  for (size_t i = 0; i < zoneEdits_.size(); ++i) {
    const std::optional<int64_t> value = ParseInteger(zoneEdits_[i]->text().toStdString());
    if (!value) return;
    if (i == 0)
      *bias = static_cast<int16_t>(static_cast<uint16_t>(*value));
    else
      *bytes[i - 1] = static_cast<int8_t>(static_cast<uint8_t>(*value));
  }
  Context().Raise(request::WriteExpert);
}

void ExpertPage::btnApplyTZIClick() {
  const std::shared_ptr<const TimeZone> zone = CurrentTimeZone();
  const std::optional<TimeZoneInfo> rules = zone ? zone->Rules() : std::nullopt;
  if (!rules) return;  // a zone no single rule set describes: nothing to take
  const ZoneFields f = ZoneFieldsFrom(*rules);
  Expert& e = Context().Store().expert;
  e.Bias = f.bias;
  e.StandardMonth = f.standardMonth;
  e.StandardDay = f.standardDay;
  e.StandardHour = f.standardHour;
  e.StandardDayOfWeek = f.standardDayOfWeek;
  e.DaylightMonth = f.daylightMonth;
  e.DaylightDay = f.daylightDay;
  e.DaylightHour = f.daylightHour;
  e.DaylightDayOfWeek = f.daylightDayOfWeek;
  const std::array<int64_t, 9> values = ZoneValues(e);
  for (size_t i = 0; i < zoneEdits_.size(); ++i)
    SetTextQuietly(zoneEdits_[i], QString::number(values[i]));
  Context().Raise(request::WriteExpert);
}

void ExpertPage::FlagClick(uint8_t bit, bool set) {
  Config& config = Context().Store().config;
  config.Flag = static_cast<uint8_t>(set ? config.Flag | bit : config.Flag & ~bit);
  if (bit == config_flag::Fahrenheit) {
    // Every temperature is shown again in the new unit before the record goes out.
    Context().ApplyRecord(RecordKind::Info);
    Context().ApplyRecord(RecordKind::Expert);
  }
  Context().Raise(request::WriteConfig);
}

void ExpertPage::ShowFlags() {
  const uint8_t flag = Context().Store().config.Flag;
  for (const auto& [button, bit, set] : flagButtons_)
    if (((flag & bit) != 0) == set && !button->isChecked()) {
      const QSignalBlocker quiet(button);
      button->setChecked(true);
    }
}

void ExpertPage::ShowTimeZone() {
  const std::array<int64_t, 9> values = ZoneValues(Context().Store().expert);
  for (size_t i = 0; i < zoneEdits_.size(); ++i)
    if (!zoneEdits_[i]->hasFocus()) SetTextQuietly(zoneEdits_[i], QString::number(values[i]));
}

void ExpertPage::Apply(RecordKind record) {
  switch (record) {
    case RecordKind::Expert: {
      fanMode_->Show();
      chartMode_->Show();
      Bindings().Apply(RecordKind::Expert);
      ShowTimeZone();
      const uint8_t language = Context().Store().expert.Language;
      if (language_->currentIndex() != language && !language_->view()->isVisible() &&
          language < language_->count())
        language_->setCurrentIndex(language);
      break;
    }
    case RecordKind::ExpertWeather:
      Bindings().Apply(RecordKind::ExpertWeather);
      break;
    case RecordKind::Config:
      if (Context().WindowVisible()) ShowFlags();
      break;
    default:
      break;
  }
}

void ExpertPage::ChannelColorsChanged() {
  const Config& config = Context().Store().config;
  for (int n = 0; n < kChannelCount; ++n)
    Tint(findChild<QLineEdit*>(names::stem::edtLightningMask + QString::number(n)),
         ChannelColor(config.ColorName[static_cast<size_t>(n)]));
}

}  // namespace vmx
