#include "planning/year_chart.h"

#include "lang/catalogue.h"

namespace vmx {
namespace {

constexpr int kLeft = 40, kRight = 20, kTop = 24, kBottom = 20;

}  // namespace

YearChartScene LayoutYearChart(const YearReport& report, int width, int height,
                               const std::array<uint32_t, kChannels>& colors,
                               std::optional<int> today) {
  YearChartScene scene;
  scene.width = width;
  scene.height = height;
  const int days = static_cast<int>(report.days.size());
  if (width <= kLeft + kRight || height <= kTop + kBottom || days == 0) return scene;
  const double plotW = width - kLeft - kRight, plotH = height - kTop - kBottom;
  auto dayX = [&](double i) { return static_cast<float>(kLeft + i * plotW / days); };
  auto hoursY = [&](double h) { return static_cast<float>(kTop + (24 - h) * plotH / 24); };

  scene.x.reserve(report.days.size());
  for (int i = 0; i < days; ++i) scene.x.push_back(dayX(i + 0.5));
  for (int i = 0; i < days; ++i)
    if (report.days[static_cast<size_t>(i)].day == 1)
      scene.months.push_back({dayX(i), report.days[static_cast<size_t>(i)].month});
  for (int h = 0; h <= 24; h += 3) scene.hours.push_back({hoursY(h), h});
  if (today && *today >= 0 && *today < days) scene.today = dayX(*today + 0.5);

  const bool withChannels = !report.days.front().channels.empty();
  for (size_t c = 0; withChannels && c < kChannels; ++c) {
    YearCurve curve{colors[c], 1, {}};
    bool lit = false;
    for (const YearDay& d : report.days) {
      lit = lit || d.channels[c].litMinutes > 0;
      curve.y.push_back(hoursY(d.channels[c].litMinutes / 60.0));
    }
    // A channel the schedule never lights would only lie along the bottom.
    if (lit) scene.curves.push_back(std::move(curve));
  }
  YearCurve length{kDayLengthColor, 2, {}};
  for (const YearDay& d : report.days) length.y.push_back(hoursY(d.dayMinutes / 60.0));
  scene.curves.push_back(std::move(length));

  scene.legend.push_back({kDayLengthColor, LangText("YearDayLengthCurve")});
  if (withChannels) scene.legend.push_back({0xFFC0C0C0, LangText("YearLitHours")});
  return scene;
}

}  // namespace vmx
