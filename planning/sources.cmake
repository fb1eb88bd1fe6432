# Light planning: the year at the tank's place and acclimation ramps.
target_sources(vmxcore PRIVATE
  planning/light_curve.cpp
  planning/sun_day.cpp
  planning/year_explorer.cpp
  planning/year_chart.cpp
  planning/acclimation.cpp
  planning/plan_file.cpp
  planning/plan_applier.cpp
)
