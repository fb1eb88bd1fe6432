#include "editor/weather_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/number_text.h"
#include "settings/device_actions.h"
#include "settings/weather_counts.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

struct QuantityControls {
  const char* stem;
  SliderRange range;
  int tickInterval;
};

constexpr QuantityControls kQuantityControls[] = {
    {"CloudCount", kCloudCountRange, 100},
    {"CloudSeconds", kCloudSecondsRange, 60},
    {"StormCount", kStormCountRange, 100},
    {"StormMinutes", kStormMinutesRange, 60},
};

// Tick spacing of the plain pairs, by stem.
int PlainTicks(const QString& stem) {
  if (stem.endsWith("Alpha")) return 10;
  return 1000;
}

}  // namespace

WeatherPage::WeatherPage(PageContext& context) : Page(context, names::tsWeather) {
  Subscribe({RecordKind::Config, RecordKind::ExpertWeather});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildGroup(names::gbxCloud, {"CloudAlpha", "CloudStep"}, CloudCount,
                               CloudSeconds, {names::btnCloud, &TriggerCloud},
                               names::lblCloudRatio));
  layout->addWidget(BuildGroup(names::gbxStorm, {"StormAlpha", "StormStep", "LightningP"},
                               StormCount, StormMinutes, {names::btnStorm, &TriggerStorm},
                               names::lblStormRatio));
  layout->addStretch(1);
  cloudRatio_ = findChild<QLabel*>(names::lblCloudRatio);
  stormRatio_ = findChild<QLabel*>(names::lblStormRatio);
}

QGroupBox* WeatherPage::BuildGroup(const char* name, std::initializer_list<const char*> plainPairs,
                                   Quantity count, Quantity duration, Trigger button,
                                   const char* ratio) {
  auto* box = new QGroupBox(this);
  box->setObjectName(name);
  auto* grid = new QGridLayout(box);
  int row = 0;
  AddQuantity(grid, row++, count);
  AddQuantity(grid, row++, duration);
  for (const char* stem : plainPairs) AddPlainPair(grid, row++, stem, PlainTicks(stem));
  // The same board action as the command line's.
  auto* trigger = new QPushButton(box);
  trigger->setObjectName(button.name);
  connect(trigger, &QPushButton::clicked, this,
          [this, action = button.action] { action(Context().Store()); });
  grid->addWidget(trigger, row, 0);
  grid->addWidget(NewLabel(box, ratio), row, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  return box;
}

void WeatherPage::AddQuantity(QGridLayout* grid, int row, Quantity quantity) {
  const QuantityControls& c = kQuantityControls[quantity];
  QWidget* parent = grid->parentWidget();
  const LabeledEdit edit = NewLabeledEdit(parent, QString(names::stem::edt) + c.stem);
  QSlider* slider = NewSlider(parent, QString(names::stem::trb) + c.stem, c.tickInterval);
  slider->setRange(c.range.minimum, c.range.maximum);
  slider->setMinimumWidth(300);
  grid->addWidget(edit.label, row, 0);
  grid->addWidget(slider, row, 1);
  grid->addWidget(edit.edit, row, 2);
  pairs_[quantity] = {slider, edit.edit};
  OnUserText(edit.edit, this, [this, quantity] { EditChanged(quantity); });
  OnUserSlide(slider, this, [this, quantity] { SliderMoved(quantity); });
}

void WeatherPage::AddPlainPair(QGridLayout* grid, int row, const QString& stem, int tickInterval) {
  QWidget* parent = grid->parentWidget();
  const LabeledEdit edit = NewLabeledEdit(parent, names::stem::edt + stem);
  QSlider* slider = NewSlider(parent, names::stem::trb + stem, tickInterval);
  slider->setMinimumWidth(300);
  grid->addWidget(edit.label, row, 0);
  grid->addWidget(slider, row, 1);
  grid->addWidget(edit.edit, row, 2);
  Bindings().Bind(slider);
  Bindings().Bind(edit.edit);
}

void WeatherPage::EditChanged(Quantity quantity) {
  // The edit only moves its slider, clamped to the slider's range, and keeps
  // what was typed; the record is computed from the slider.
  const Pair& pair = pairs_[quantity];
  const std::optional<int64_t> typed = ParseInteger(pair.edit->text().toStdString());
  if (!typed) return;
  SetValueQuietly(pair.slider, *typed);
  StoreQuantity(quantity);
}

void WeatherPage::SliderMoved(Quantity quantity) {
  const Pair& pair = pairs_[quantity];
  if (!pair.edit->hasFocus()) SetTextQuietly(pair.edit, QString::number(pair.slider->value()));
  StoreQuantity(quantity);
}

void WeatherPage::StoreQuantity(Quantity quantity) {
  // Only the changed quantity is converted again: the shown values are
  // truncated, so converting all four back would drift the untouched ones.
  Config& config = Context().Store().config;
  const int position = pairs_[quantity].slider->value();
  switch (quantity) {
    case CloudCount:
      config.CloudP = CloudPFromCount(position);
      break;
    case CloudSeconds:
      if (const auto d = CloudDFromSeconds(position)) config.CloudD = *d;
      break;
    case StormCount:
      config.StormP = StormPFromCount(position);
      break;
    case StormMinutes:
      if (const auto d = StormDFromMinutes(position)) config.StormD = *d;
      break;
    case kQuantities:
      return;
  }
  UpdateWeatherRatios();
  Context().Raise(request::WriteConfig);
}

void WeatherPage::ApplyWeatherCounts() {
  const Config& config = Context().Store().config;
  const std::optional<int64_t> positions[kQuantities] = {
      CloudCountOf(config.CloudP), CloudSecondsOf(config.CloudD), StormCountOf(config.StormP),
      StormMinutesOf(config.StormD)};
  for (int q = 0; q < kQuantities; ++q) {
    const Pair& pair = pairs_[static_cast<size_t>(q)];
    if (positions[q] && !pair.slider->hasFocus()) SetValueQuietly(pair.slider, *positions[q]);
    // The edit shows where the slider stands, after its clamping.
    if (!pair.edit->hasFocus()) SetTextQuietly(pair.edit, QString::number(pair.slider->value()));
  }
}

void WeatherPage::UpdateWeatherRatios() {
  SharedStore& store = Context().Store();
  const std::string separator = DecimalSeparator();
  cloudRatio_->setText(
      QString::fromStdString(CloudRatioText(store.config, store.info.ActivityFlags, separator)));
  stormRatio_->setText(
      QString::fromStdString(StormRatioText(store.config, store.info.ActivityFlags, separator)));
}

void WeatherPage::Apply(RecordKind record) {
  if (record == RecordKind::Config) {
    if (!Context().WindowVisible()) return;
    ApplyWeatherCounts();
    UpdateWeatherRatios();
  } else if (record == RecordKind::ExpertWeather) {
    Bindings().Apply(RecordKind::ExpertWeather);
  }
}

}  // namespace vmx
