target_sources(vmxcore PRIVATE
  astro/sunmoon.cpp
  astro/rise_set.cpp
  astro/time_zone.cpp
  astro/fixed_time_zone.cpp
  astro/library_time_zone.cpp
  astro/posix_time_zone.cpp
  astro/decimal_text.cpp
  astro/geo_sky.cpp
  astro/geo_text.cpp
  astro/geo_map.cpp
  astro/moon_figure.cpp
  astro/board_clock.cpp
)
# The computer's zone: zone files and TZ, or the Windows time-zone API.
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE astro/windows_system_time_zone.cpp)
else()
  target_sources(vmxcore PRIVATE astro/system_time_zone.cpp)
endif()
