# The Usage dialog (Win32 only; the template is resources/usage.rc).
if(WIN32)
  target_sources(ripplet_shell PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/usage_dialog.cpp)
  target_link_libraries(ripplet_shell PUBLIC ripplet_usage)
endif()
