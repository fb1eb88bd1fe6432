# Settings logic shared by the pages and the command line: record fields by
# name, the controls' bindings and conversions, temperatures.
target_sources(vmxcore PRIVATE
  settings/bindings.cpp
  settings/channel_levels.cpp
  settings/board_alerts.cpp
  settings/board_status.cpp
  settings/device_actions.cpp
  settings/record_access.cpp
  settings/schedule_grid.cpp
  settings/settings_diff.cpp
  settings/settings_key_table.cpp
  settings/shown_setting.cpp
  settings/temperature.cpp
  settings/weather_counts.cpp
  settings/zone_fields.cpp
)
