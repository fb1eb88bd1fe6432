# Settings logic shared by the pages and the command line: record fields by
# name, the controls' bindings and conversions, temperatures.
target_sources(vmxcore PRIVATE
  settings/bindings.cpp
  settings/board_alerts.cpp
  settings/board_status.cpp
  settings/record_access.cpp
  settings/temperature.cpp
  settings/zone_fields.cpp
)
