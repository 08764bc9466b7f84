# cmake -DOBJDUMP=<objdump> -DEXE=<ripplet.exe> -P start_imports.cmake
# Fails when the exe imports a DLL outside the allow-list: known system DLLs, which the
# loader takes from the system folder whatever lies beside the exe. Any other library
# (IP Helper, help, common controls and dialogs, shell) is bound at run time.
cmake_minimum_required(VERSION 3.25)  # IN_LIST
set(allowed advapi32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll user32.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the import table of ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
message(STATUS "${imports}")
if(NOT imports MATCHES "KERNEL32")
  message(FATAL_ERROR "no import table found in ${EXE}")  # the check itself would be void
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST allowed)
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not a known system DLL")
  endif()
endforeach()
