# The Bluetooth worker and the Linux pieces it needs that are not D-Bus.
target_sources(vmxcore PRIVATE
  bluetooth/bt_address.cpp
  bluetooth/discover.cpp
  bluetooth/kernel_rfcomm_binder.cpp
  bluetooth/rfcomm_kernel.cpp
  bluetooth/sdp_query.cpp
  bluetooth/sdp_record.cpp
)

# Binds or releases one RFCOMM tty; the only part that needs CAP_NET_ADMIN.
add_executable(velmarinex-rfcomm bluetooth/rfcomm_helper_main.cpp)
target_link_libraries(velmarinex-rfcomm PRIVATE vmxcore)
