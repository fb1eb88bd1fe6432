# Header-only libraries of the build machine (Debian's Boost, nlohmann-json)
# for the Windows build, without the rest of /usr/include: each named folder
# is linked into a folder of its own, and only that one is searched.
#   vmx_host_headers(vmx_host_boost boost)        -> target vmx_host_boost
#   vmx_host_headers(vmx_host_json nlohmann)
# On Windows, Asio needs ws2_32 and mswsock as well. Boost 1.74's Asio misses
# an #include <utility> under C++20: include <utility> before it.
function(vmx_host_headers target)
  set(folder ${CMAKE_BINARY_DIR}/host-headers/${target})
  file(MAKE_DIRECTORY ${folder})
  foreach(name ${ARGN})
    file(CREATE_LINK /usr/include/${name} ${folder}/${name} SYMBOLIC)
  endforeach()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${folder})
  if(WIN32 AND "boost" IN_LIST ARGN)
    target_link_libraries(${target} INTERFACE ws2_32 mswsock)
  endif()
endfunction()
