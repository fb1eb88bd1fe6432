# The application shell's logic that needs no widget.
target_sources(vmxcore PRIVATE
  ${CMAKE_SOURCE_DIR}/app/command_line.cpp
  ${CMAKE_SOURCE_DIR}/app/connection.cpp
  ${CMAKE_SOURCE_DIR}/app/help_pages.cpp
  ${CMAKE_SOURCE_DIR}/app/link_state_table.cpp
  ${CMAKE_SOURCE_DIR}/app/serial_port_list.cpp
  ${CMAKE_SOURCE_DIR}/app/worker_reaper.cpp
)
# The system's serial-port table.
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE ${CMAKE_SOURCE_DIR}/app/registry_port_source.cpp)
else()
  target_sources(vmxcore PRIVATE ${CMAKE_SOURCE_DIR}/app/sysfs_port_source.cpp)
endif()
