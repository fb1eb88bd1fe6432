target_sources(vmxgui PRIVATE
  ${CMAKE_SOURCE_DIR}/bluetooth/bluez_bluetooth.cpp
  ${CMAKE_SOURCE_DIR}/bluetooth/pairing_agent.cpp
)
