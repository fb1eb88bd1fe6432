# What the drawn views compute without drawing: positions, ranges, texts.
target_sources(vmxcore PRIVATE
  graphics/chart_geometry.cpp
  graphics/colour_spread.cpp
  graphics/health_geometry.cpp
  graphics/schedule_geometry.cpp
)
