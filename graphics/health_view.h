// The health display imgHealth: the board's power cycles, working time and the
// time spent in each temperature and voltage band, as a table and two bars.
// It sits on the Configuration page and is drawn after each health read.
#pragma once

#include <QColor>
#include <QFont>

#include "graphics/health_geometry.h"
#include "ui/picture_view.h"

namespace vmx {

class PageContext;

// `base` made small enough for the table's fixed columns (70 pixels, lines 12 apart).
QFont HealthFont(const QFont& base);
// Renders the table and the bars into `frame`, over the background colour.
void PaintHealth(const HealthScene& scene, const QColor& background, const QColor& text,
                 const QFont& font, QImage& frame);

class HealthView final : public PictureView {
  Q_OBJECT

 public:
  HealthView(PageContext& context, QWidget* parent);

  // Draws the last health record read.
  void DrawHealth();

 private:
  PageContext& context_;
};

}  // namespace vmx
