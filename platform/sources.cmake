# Stop requests (Ctrl+C and its kin) and the text conversions of the Windows API.
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE
    platform/windows_stop_request.cpp
    platform/windows_text.cpp
  )
else()
  target_sources(vmxcore PRIVATE
    platform/stop_signals.cpp
    platform/posix_stop_request.cpp
  )
endif()
