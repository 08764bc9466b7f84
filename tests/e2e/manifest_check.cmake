# The manifest embedded in ripplet.exe asks for per-monitor awareness, v2 then v1, and for
# system awareness where neither is known: cmake -DEXE=<ripplet.exe> -P manifest_check.cmake
file(STRINGS "${EXE}" lines REGEX "dpiAware")
string(FIND "${lines}" ">PerMonitorV2, PerMonitor</dpiAwareness>" per_monitor)
string(FIND "${lines}" ">true</dpiAware>" system)
if(per_monitor EQUAL -1 OR system EQUAL -1)
  message(FATAL_ERROR "the embedded manifest's awareness is not PerMonitorV2, PerMonitor, true: ${lines}")
endif()
