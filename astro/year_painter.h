// Renders the year view: the hours of the day and the months as a grid, the
// channels' lit hours and the length of day as curves, today as a line.
#pragma once

#include <QFont>
#include <QImage>

#include "planning/year_chart.h"

namespace vmx {

// Month names come from the locale, as the other charts' dates do.
void PaintYear(const YearChartScene& scene, const QFont& font, QImage& frame);

}  // namespace vmx
