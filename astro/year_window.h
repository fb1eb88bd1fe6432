// The year at the board's place, opened from the Geo page: the length of day
// and each channel's lit hours over the year as curves, and the warnings.
#pragma once

#include <QDialog>
#include <QImage>
#include <optional>

#include "planning/year_chart.h"

class QLabel;

namespace vmx {

class PageContext;

// The chart, drawn off-screen once for each size and shown from there.
class YearChartView final : public QWidget {
  Q_OBJECT

 public:
  explicit YearChartView(QWidget* parent);
  void Show(const YearReport& report, const std::array<uint32_t, kChannels>& colors,
            std::optional<int> today);
  const QImage& Picture() const { return frame_; }
  // Renders the frame for the widget's size unless it has that frame already.
  void Render();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  YearReport report_;
  std::array<uint32_t, kChannels> colors_{};
  std::optional<int> today_;
  QImage frame_;
  bool stale_ = true;
};

class YearWindow final : public QDialog {
  Q_OBJECT

 public:
  YearWindow(PageContext& context, QWidget* parent);
  // Computes the year anew from the board's records: its place, schedule and
  // mode, and its zone once the board's settings are read (else this computer's).
  void Refresh();

  const std::optional<YearReport>& Report() const { return report_; }
  YearChartView* Chart() const { return chart_; }
  QLabel* Warnings() const { return warnings_; }

 private:
  PageContext& context_;
  YearChartView* chart_;
  QLabel* warnings_;
  std::optional<YearReport> report_;
};

}  // namespace vmx
