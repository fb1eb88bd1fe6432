target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/ui/dialogs.cpp
)
