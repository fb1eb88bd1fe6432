#include "editor/channels_page.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include "lang/channel_text.h"
#include "settings/bindings.h"
#include "settings/channel_levels.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/quiet.h"
#include "ui/tint.h"

namespace vmx {
namespace {

constexpr int kBandHeight = 96;

QString PercentText(int64_t value) {
  return QString::fromStdString(FormatShown(Shown::Percent4096, value, 0, DecimalSeparator()));
}

}  // namespace

ChannelsPage::ChannelsPage(PageContext& context, const char* name, int firstChannel)
    : Page(context, name), firstChannel_(firstChannel) {
  Subscribe({RecordKind::Info});
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* inner = new QWidget(scroll);
  auto* bands = new QVBoxLayout(inner);
  bands->setSpacing(0);
  for (int i = 0; i < kBands; ++i) bands->addWidget(BuildBand(firstChannel_ + i, inner));
  bands->addStretch(1);
  scroll->setWidget(inner);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  if (firstChannel_ == 0) WireAllChannelItems();
}

QWidget* ChannelsPage::BuildBand(int channel, QWidget* parent) {
  auto* band = new QWidget(parent);
  band->setFixedHeight(kBandHeight);
  auto* grid = new QGridLayout(band);

  QSlider* slider = NewSlider(band, names::Indexed(names::stem::trb, channel), 512);
  slider->setTickPosition(QSlider::TicksBothSides);
  slider->setPageStep(128);
  slider->setSingleStep(1);
  slider->setProperty("tag", channel);
  Bindings().Bind(slider);

  QLabel* label = NewLabel(band, names::Indexed(names::stem::lblName, channel));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* box = new QComboBox(band);
  box->setObjectName(names::Indexed(names::stem::cmbName, channel));
  box->setProperty("tag", channel);
  box->setMinimumWidth(140);
  label->setBuddy(box);
  QLineEdit* percent = NewEdit(band, names::Indexed(names::stem::edt, channel), 64);
  percent->setProperty("tag", channel);
  percent->setAutoFillBackground(true);
  Bindings().Bind(percent);
  auto* off = new QPushButton(band);
  off->setObjectName(names::Indexed(names::stem::btnOff, channel));
  auto* on = new QPushButton(band);
  on->setObjectName(names::Indexed(names::stem::btnOn, channel));

  grid->addWidget(slider, 0, 0, 1, 7);
  grid->addWidget(label, 1, 0);
  grid->addWidget(box, 1, 1);
  grid->addWidget(percent, 1, 2);
  grid->addWidget(NewLabel(band, {}, "%"), 1, 3);
  grid->setColumnStretch(4, 1);
  grid->addWidget(off, 1, 5);
  grid->addWidget(on, 1, 6);

  connect(off, &QPushButton::clicked, this, [this, channel] { btnOnAClick(channel, false); });
  connect(on, &QPushButton::clicked, this, [this, channel] { btnOnAClick(channel, true); });
  connect(box, &QComboBox::activated, this,
          [this, channel](int index) { cmbNameAChange(channel, index); });
  bands_[static_cast<size_t>(channel - firstChannel_)] = {box, slider, percent};
  return band;
}

void ChannelsPage::WireAllChannelItems() {
  // The menu items live in the window's menu; the first page serves them.
  const std::pair<const char*, int> items[] = {{names::mnuAllOff, channel_level::Off},
                                               {names::mnuAll20, channel_level::TwentyPercent},
                                               {names::mnuAllOn, channel_level::Full}};
  for (const auto& [name, value] : items) {
    if (auto* action = qobject_cast<QAction*>(Context().Control(name)))
      connect(action, &QAction::triggered, this, [this, value = value] { SetAllChannels(value); });
  }
}

void ChannelsPage::LanguageApplied() {
  for (const Band& band : bands_) {
    const QSignalBlocker quiet(band.name);
    band.name->clear();
    for (int i = 0; i < kColorNameCount; ++i)
      band.name->addItem(QString::fromStdString(ColorText(i)));
  }
}

void ChannelsPage::btnOnAClick(int channel, bool on) {
  const int value = on ? channel_level::Full : channel_level::Off;
  const Band& band = bands_[static_cast<size_t>(channel - firstChannel_)];
  SetValueQuietly(band.slider, value);
  SetTextQuietly(band.percent, on ? "100" : "0");
  SetChannelLevel(Context().Store(), channel, value);
}

void ChannelsPage::cmbNameAChange(int channel, int index) {
  Context().Store().config.ColorName[static_cast<size_t>(channel)] = static_cast<uint8_t>(index);
  Context().Raise(request::WriteConfig);
  Context().UpdateChannelColors();
}

void ChannelsPage::SetAllChannels(int64_t value) {
  PageContext& context = Context();
  if (context.ActivePage() != context.PageNamed(names::tsChannelsGL))
    context.ShowPage(context.PageNamed(names::tsChannels));
  for (int n = 0; n < kChannelCount; ++n) {
    SetValueQuietly(qobject_cast<QSlider*>(context.Control(names::Indexed(names::stem::trb, n))), value);
    SetTextQuietly(qobject_cast<QLineEdit*>(context.Control(names::Indexed(names::stem::edt, n))),
                   PercentText(value));
  }
  vmx::SetAllChannels(context.Store(), static_cast<int16_t>(value));
}

void ChannelsPage::Apply(RecordKind record) {
  if (record == RecordKind::Info) Bindings().Apply(RecordKind::Info);
}

void ChannelsPage::ChannelColorsChanged() {
  const Config& config = Context().Store().config;
  for (int i = 0; i < kBands; ++i) {
    const int channel = firstChannel_ + i;
    const int index = config.ColorName[static_cast<size_t>(channel)];
    const Band& band = bands_[static_cast<size_t>(i)];
    // A list the user has open is left alone; an index without a name selects nothing.
    if (!band.name->view()->isVisible()) {
      const QSignalBlocker quiet(band.name);
      band.name->setCurrentIndex(index < kColorNameCount ? index : -1);
    }
    Tint(band.percent, ChannelColor(index));
  }
}

}  // namespace vmx
