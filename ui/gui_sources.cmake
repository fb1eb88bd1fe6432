target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/ui/bind.cpp
  ${CMAKE_SOURCE_DIR}/ui/choice_group.cpp
  ${CMAKE_SOURCE_DIR}/ui/dialogs.cpp
  ${CMAKE_SOURCE_DIR}/ui/page.cpp
  ${CMAKE_SOURCE_DIR}/ui/picture_view.cpp
  ${CMAKE_SOURCE_DIR}/ui/status_display.cpp
)
