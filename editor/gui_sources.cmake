target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/editor/balance_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/channel_rows.cpp
  ${CMAKE_SOURCE_DIR}/editor/channel_rows_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/channels_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/config_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/expert_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/jmp_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/jmp_schematic.cpp
  ${CMAKE_SOURCE_DIR}/editor/options_menu.cpp
  ${CMAKE_SOURCE_DIR}/editor/schedule_grid.cpp
  ${CMAKE_SOURCE_DIR}/editor/schedule_page.cpp
  ${CMAKE_SOURCE_DIR}/editor/weather_page.cpp
)
