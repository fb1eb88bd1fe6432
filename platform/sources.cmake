target_sources(vmxcore PRIVATE
  platform/stop_signals.cpp
)
