target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/astro/geo_page.cpp
)
