# Stop requests (Ctrl+C and its kin), paths for the standard library, the
# text conversions of the Windows API, and standard output's buffering.
target_sources(vmxcore PRIVATE platform/standard_output.cpp)
if(VMX_PLATFORM STREQUAL "windows")
  target_sources(vmxcore PRIVATE
    platform/windows_file_path.cpp
    platform/windows_stop_request.cpp
    platform/windows_text.cpp
  )
else()
  target_sources(vmxcore PRIVATE
    platform/posix_file_path.cpp
    platform/posix_stop_request.cpp
    platform/stop_signals.cpp
  )
endif()
