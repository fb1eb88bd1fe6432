#include "astro/geo_page.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "astro/board_clock.h"
#include "astro/decimal_text.h"
#include "astro/geo_sky.h"
#include "astro/geo_text.h"
#include "ui/controls.h"
#include "ui/names.h"
#include "ui/picture_view.h"
#include "ui/quiet.h"
#include "ui/text.h"

namespace vmx {
namespace {

// The board keeps its year in one byte from 2000, and the ephemeris holds
// within this century.
const QDate kFirstDate(2000, 1, 1);
const QDate kLastDate(2099, 12, 31);

QString Degrees(double value) {
  return Q(FormatUpToOneDecimal(value, DecimalSeparator()));
}

void SetDateQuietly(QDateEdit* dtp, const QDate& date) {
  if (!date.isValid() || date < dtp->minimumDate() || date > dtp->maximumDate()) return;
  const QSignalBlocker quiet(dtp);
  dtp->setDate(date);
}

}  // namespace

GeoPage::GeoPage(PageContext& context) : Page(context, names::tsGeo) {
  Subscribe({RecordKind::Info, RecordKind::Config});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  // The map stays at 1:1 pixels: a smaller page scrolls it, a larger one
  // leaves room beside it, where a click counts as the nearest edge.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  imgGeo_ = new PictureView(names::imgGeo, &picture_.Map(), PictureView::Backdrop::Window, scroll);
  imgGeo_->setMouseTracking(true);
  imgGeo_->setMinimumSize(kMapWidth, kMapHeight);
  scroll->setWidget(imgGeo_);
  layout->addWidget(scroll, 1);

  auto* bottom = new QHBoxLayout;
  auto* texts = new QVBoxLayout;
  lblGeo_ = NewLabel(this, names::lblGeo);
  lblGeo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Of fixed size, so a new text never asks the window to lay itself out and
  // repaint everything: twice a second only the label repaints.
  lblGeo_->setFixedSize(928, std::max(33, 2 * lblGeo_->fontMetrics().lineSpacing() + 3));
  texts->addWidget(lblGeo_, 0, Qt::AlignRight);

  auto* controls = new QHBoxLayout;
  const LabeledEdit time = NewLabeledEdit(this, names::edtTime, 49);
  edtTime_ = time.edit;
  dtp_ = new QDateEdit(this);
  dtp_->setObjectName(names::dtp);
  dtp_->setDateRange(kFirstDate, kLastDate);
  dtp_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
  dtp_->setCalendarPopup(true);
  btnNow_ = new QPushButton(this);
  btnNow_->setObjectName(names::btnNow);
  const LabeledEdit lat = NewLabeledEdit(this, names::edtLat);
  const LabeledEdit lon = NewLabeledEdit(this, names::edtLon);
  edtLat_ = lat.edit;
  edtLon_ = lon.edit;
  controls->addWidget(time.label);
  controls->addWidget(edtTime_);
  controls->addWidget(dtp_);
  controls->addWidget(btnNow_);
  controls->addStretch(1);
  controls->addWidget(lat.label);
  controls->addWidget(edtLat_);
  controls->addWidget(lon.label);
  controls->addWidget(edtLon_);
  texts->addLayout(controls);
  bottom->addLayout(texts, 1);

  imgMoon_ = new PictureView(names::imgMoon, &picture_.Moon(), PictureView::Backdrop::Black, this);
  imgMoon_->setFixedSize(GeoPicture::kMoonSize, GeoPicture::kMoonSize);
  bottom->addWidget(imgMoon_);
  layout->addLayout(bottom);

  trbTime_ = NewSlider(this, names::trbTime, 60);
  trbTime_->setRange(0, kLastMinuteOfDay);
  trbTime_->setPageStep(60);
  trbTime_->setTickPosition(QSlider::TicksBothSides);
  layout->addWidget(trbTime_);

  imgGeo_->onPress = [this](QMouseEvent* e) { imgGeoMouseDown(e->position().toPoint()); };
  imgGeo_->onMove = [this](QMouseEvent* e) { imgGeoMouseMove(e->position().toPoint()); };
  imgGeo_->onEnter = [this] { imgGeoMouseEnter(); };
  imgGeo_->onLeave = [this] { imgGeoMouseLeave(); };
  imgMoon_->onDoubleClick = [this] { imgMoonDblClick(); };
  OnUserText(edtLat_, this, [this] { edtLatChange(); });
  OnUserText(edtLon_, this, [this] { edtLatChange(); });
  OnUserText(edtTime_, this, [this] { edtTimeChange(); });
  OnUserSlide(trbTime_, this, [this] { trbTimeChange(); });
  // The page sets the picker only with its signals blocked: what arrives here
  // is the user's choice.
  connect(dtp_, &QDateEdit::dateChanged, this, &GeoPage::dtpChange);
  connect(btnNow_, &QPushButton::clicked, this, &GeoPage::SetBoardClockNow);
}

void GeoPage::Apply(RecordKind record) {
  if (record == RecordKind::Config) ShowLocation();
  if (record == RecordKind::Info) {
    ShowTimeControls();
    if (Context().ActivePage() == this) RefreshGeo();
  }
}

void GeoPage::Activated() {
  RefreshGeo();
}

void GeoPage::ShowLocation() {
  const Config& config = Context().Store().config;
  if (!edtLat_->hasFocus()) SetTextQuietly(edtLat_, Degrees(config.Lat * 0.1));
  if (!edtLon_->hasFocus()) SetTextQuietly(edtLon_, Degrees(config.Lon * 0.1));
}

void GeoPage::ShowTimeControls() {
  const Info& info = Context().Store().info;
  if (!edtTime_->hasFocus()) SetTextQuietly(edtTime_, Q(FormatClockTime(info.Hour, info.Minute)));
  if (!trbTime_->hasFocus()) SetValueQuietly(trbTime_, info.Hour * 60 + info.Minute);
  // A date the calendar does not have, or one the picker cannot show, leaves it as it was.
  if (!dtp_->hasFocus()) SetDateQuietly(dtp_, QDate(2000 + info.Year, info.Month, info.Day));
}

void GeoPage::RefreshGeo() {
  try {
    const Config& config = Context().Store().config;
    // The map is drawn for the page in front only; Activated draws it anew.
    if (Context().ActivePage() == this)
      imgGeo_->Present(picture_.DrawMap(LocationToPixel(config.Lat, config.Lon)));

    const std::optional<BoardMoment> moment = BoardClockMoment(Context().Store().info);
    if (!moment) return;
    const std::optional<GeoSky> sky =
        ComputeGeoSky(config.Lat, config.Lon, moment->t, moment->zone);
    if (!sky) return;
    const GeoLines lines = FormatGeoLines(*sky, DecimalSeparator());
    lblGeo_->setText(Q(lines[0] + "\n" + lines[1]));
    picture_.DrawMoon(sky->moon.Illumination, sky->moon.Age);
    imgMoon_->Present();
  } catch (const std::exception& e) {
    // The page keeps what was drawn; the next record draws again.
    Context().AddLogLine(e.what());
  }
}

void GeoPage::TakeLocation(int latTenths, int lonTenths) {
  Config& config = Context().Store().config;
  config.Lat = static_cast<int16_t>(latTenths);
  config.Lon = static_cast<int16_t>(lonTenths);
  RefreshGeo();
  Context().Raise(request::WriteConfig);
}

void GeoPage::imgGeoMouseDown(QPoint at) {
  const MapLocation location = PixelToLocation(at.x(), at.y());
  const LocationTenths tenths = ToTenths(location);
  SetTextQuietly(edtLat_, Degrees(location.lat));
  SetTextQuietly(edtLon_, Degrees(location.lon));
  TakeLocation(tenths.lat, tenths.lon);
}

void GeoPage::imgGeoMouseMove(QPoint at) {
  Context().SetStatusPanel(
      0, Q(MousePositionText(PixelToLocation(at.x(), at.y()), DecimalSeparator())));
}

void GeoPage::imgGeoMouseEnter() {
  imgGeo_->setCursor(Qt::CrossCursor);
}

void GeoPage::imgGeoMouseLeave() {
  imgGeo_->unsetCursor();
  Context().SetStatusPanel(0, {});
}

void GeoPage::edtLatChange() {
  const std::string separator = DecimalSeparator();
  const std::optional<int16_t> lat = ParseLocationTenths(edtLat_->text().toStdString(), separator);
  const std::optional<int16_t> lon = ParseLocationTenths(edtLon_->text().toStdString(), separator);
  if (!lat || !lon) return;
  TakeLocation(*lat, *lon);
}

void GeoPage::dtpChange() {
  const QDate date = dtp_->date();
  Info& info = Context().Store().info;
  info.Day = static_cast<int8_t>(date.day());
  info.Month = static_cast<int8_t>(date.month());
  info.Year = static_cast<int8_t>(date.year() - 2000);
  RefreshGeo();
  Context().Raise(request::WriteInfoTime);
}

void GeoPage::trbTimeChange() {
  const int hour = trbTime_->value() / 60;
  const int minute = trbTime_->value() % 60;
  Info& info = Context().Store().info;
  if (hour == info.Hour && minute == info.Minute) return;
  info.Hour = static_cast<int8_t>(hour);
  info.Minute = static_cast<int8_t>(minute);
  if (!edtTime_->hasFocus()) SetTextQuietly(edtTime_, Q(FormatClockTime(hour, minute)));
  RefreshGeo();
  Context().Raise(request::WriteInfoTime);
}

void GeoPage::edtTimeChange() {
  const std::optional<TypedTime> typed = ParseTypedTime(edtTime_->text().toStdString());
  if (!typed) return;
  SetValueQuietly(trbTime_, typed->sliderPosition);
  Info& info = Context().Store().info;
  info.Hour = static_cast<int8_t>(typed->hour);
  info.Minute = static_cast<int8_t>(typed->minute);
  RefreshGeo();
  Context().Raise(request::WriteInfoTime);
}

void GeoPage::SetBoardClockNow() {
  // Setting the clock also ends time lapse, whether or not a board is there yet.
  Context().EndTimeLapse();

  const QDateTime now = clock();
  const QDate date = now.date();
  const QTime time = now.time();
  SetDateQuietly(dtp_, date);
  Info& info = Context().Store().info;
  SetBoardClock(info, {date.year(), date.month(), date.day(), time.hour(), time.minute(),
                       time.second(), time.msec()});
  SetTextQuietly(edtTime_, Q(FormatClockTime(info.Hour, info.Minute)));
  SetValueQuietly(trbTime_, info.Hour * 60 + info.Minute);
  RefreshGeo();
  Context().Raise(request::WriteInfoTime);
}

void GeoPage::ShowBoardClock() {
  ShowTimeControls();
  RefreshGeo();
}

void GeoPage::imgMoonDblClick() {
  Context().ShowPage(Context().PageNamed(names::tsConfig));
}

}  // namespace vmx
