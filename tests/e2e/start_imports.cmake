# cmake -DOBJDUMP=<objdump> -DEXE=<ripplet.exe> -P start_imports.cmake
# Fails when the exe imports a library that only its dialogs need.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the import table of ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
message(STATUS "${imports}")
if(NOT imports MATCHES "IPHLPAPI")
  message(FATAL_ERROR "no import table found in ${EXE}")  # the check itself would be void
endif()
foreach(late comctl32 comdlg32 shell32 ole32 hhctrl)
  string(TOLOWER "${imports}" lower)
  if(lower MATCHES "${late}")
    message(FATAL_ERROR "${EXE} imports ${late}, which only a dialog needs")
  endif()
endforeach()
