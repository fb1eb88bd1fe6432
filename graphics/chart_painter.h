// Renders the sensor chart: shading above 60 degrees, the time and value grids
// with their labels, the present value and the curve.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "graphics/chart_geometry.h"

namespace vmx {

// `notConnected` is shown alone when the scene has no data. Tick labels use the
// locale's short date (at midnight) or short time.
void PaintChart(const ChartScene& scene, const QString& notConnected, const QFont& font,
                QImage& frame);

}  // namespace vmx
