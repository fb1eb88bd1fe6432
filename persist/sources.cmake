# Settings files, the automatic backup and the remembered port.
target_sources(vmxcore PRIVATE
  ${CMAKE_SOURCE_DIR}/persist/auto_backup.cpp
  ${CMAKE_SOURCE_DIR}/persist/data_root.cpp
  ${CMAKE_SOURCE_DIR}/persist/history_retention.cpp
  ${CMAKE_SOURCE_DIR}/persist/history_triggers.cpp
  ${CMAKE_SOURCE_DIR}/persist/ini_document.cpp
  ${CMAKE_SOURCE_DIR}/persist/port_memory.cpp
  ${CMAKE_SOURCE_DIR}/persist/read_back.cpp
  ${CMAKE_SOURCE_DIR}/persist/records_complete.cpp
  ${CMAKE_SOURCE_DIR}/persist/selective_restore.cpp
  ${CMAKE_SOURCE_DIR}/persist/settings_assign.cpp
  ${CMAKE_SOURCE_DIR}/persist/settings_file.cpp
  ${CMAKE_SOURCE_DIR}/persist/settings_history.cpp
  ${CMAKE_SOURCE_DIR}/persist/settings_keys.cpp
  ${CMAKE_SOURCE_DIR}/persist/settings_source.cpp
  ${CMAKE_SOURCE_DIR}/persist/snapshot_header.cpp
)
# Files replaced whole and the per-user data folder, per platform.
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE
    ${CMAKE_SOURCE_DIR}/persist/windows_text_file.cpp
    ${CMAKE_SOURCE_DIR}/persist/windows_data_root.cpp
  )
else()
  target_sources(vmxcore PRIVATE
    ${CMAKE_SOURCE_DIR}/persist/text_file.cpp
    ${CMAKE_SOURCE_DIR}/persist/posix_data_root.cpp
  )
endif()
