target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/astro/geo_page.cpp
  ${CMAKE_SOURCE_DIR}/astro/geo_picture.cpp
)
# The world map, compiled in as ":/geo/world_map.png" (drawn by tools/world_map).
qt_add_resources(vmxgui geo_map
  PREFIX "/geo"
  BASE "${CMAKE_SOURCE_DIR}/data"
  FILES "${CMAKE_SOURCE_DIR}/data/world_map.png"
)
