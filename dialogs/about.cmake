# The About dialog and the help calls (Win32 only; the template is resources/about.rc).
if(WIN32)
  target_sources(ripplet_shell PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/about_dialog.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/help.cpp)
endif()
