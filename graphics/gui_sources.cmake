target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/graphics/chart_page.cpp
  ${CMAKE_SOURCE_DIR}/graphics/chart_painter.cpp
  ${CMAKE_SOURCE_DIR}/graphics/health_view.cpp
  ${CMAKE_SOURCE_DIR}/graphics/schedule_painter.cpp
  ${CMAKE_SOURCE_DIR}/graphics/visualize_page.cpp
)
