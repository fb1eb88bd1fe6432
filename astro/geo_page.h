// The Geo page: the board's place on the world map with the sun and the moon,
// and the controls that set the board's location and clock.
#pragma once

#include <QDateTime>
#include <functional>

#include "astro/geo_picture.h"
#include "ui/page.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vmx {

class PictureView;

class GeoPage final : public Page {
  Q_OBJECT

 public:
  explicit GeoPage(PageContext& context);

  void Apply(RecordKind record) override;
  void Activated() override;

  // Redraws the map, the sun and moon lines and the moon picture from the
  // records. With no valid board clock the map is still drawn and the lines
  // and the moon keep what they showed.
  void RefreshGeo();

  const GeoPicture& Picture() const { return picture_; }

  // The Now button: the board back to real time and its clock set to the
  // computer's, shown and written.
  void SetBoardClockNow();
  // Shows the board clock the Info record holds, for a page built after it was set.
  void ShowBoardClock();

  // The computer's local time as the Now button reads it.
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

 private:
  void ShowTimeControls();
  void ShowLocation();
  void TakeLocation(int latTenths, int lonTenths);

  void imgGeoMouseDown(QPoint at);
  void imgGeoMouseMove(QPoint at);
  void imgGeoMouseEnter();
  void imgGeoMouseLeave();
  void edtLatChange();
  void dtpChange();
  void trbTimeChange();
  void edtTimeChange();
  void imgMoonDblClick();

  GeoPicture picture_;
  PictureView* imgGeo_ = nullptr;
  PictureView* imgMoon_ = nullptr;
  QLabel* lblGeo_ = nullptr;
  QLineEdit* edtTime_ = nullptr;
  QDateEdit* dtp_ = nullptr;
  QPushButton* btnNow_ = nullptr;
  QLineEdit* edtLat_ = nullptr;
  QLineEdit* edtLon_ = nullptr;
  QSlider* trbTime_ = nullptr;
};

}  // namespace vmx
