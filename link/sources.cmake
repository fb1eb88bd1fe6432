target_sources(vmxcore PRIVATE
  link/field_table.cpp
  link/records.cpp
  link/hex.cpp
  link/port_name.cpp
  link/shared_store.cpp
  link/dropped_writes.cpp
  link/channel_pattern.cpp
  link/wire_protocol.cpp
  link/thd_com.cpp
  link/thd_com_bootloader.cpp
  link/firmware_image.cpp
  link/firmware_update.cpp
  link/inline_link_host.cpp
)
# The serial port and the rules of port names, per platform.
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE
    link/windows_serial_port.cpp
    link/windows_access_hint.cpp
    link/windows_port_name.cpp
  )
else()
  target_sources(vmxcore PRIVATE
    link/posix_serial_port.cpp
    link/access_hint.cpp
    link/posix_port_name.cpp
  )
endif()
