# The Options dialog. Its decisions without the platform are plain code.
ripplet_plain_library(dialogs_options options_rules.cpp)
target_link_libraries(ripplet_dialogs_options PUBLIC ripplet_settings ripplet_display)

if(WIN32)
  target_sources(ripplet_shell PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/options_dialog.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/options_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/options_pickers.cpp)
  # The edits turn the input method off.
  target_link_libraries(ripplet_shell PUBLIC imm32)
endif()
