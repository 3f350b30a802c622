# Fails when a source includes a layer above its own. The layers, from the
# bottom: engine < runner < model < graphs and components < report and graph
# windows < app < cli and the desktop program; platform/ lies below them
# all, its Qt part (platform/qt/, widgets) below the widget layers only. Every include
# outside the engine names its folder ("model/GridTable.h"); the engine
# includes its own headers by name.
#
#   cmake -DROOT=<source tree> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

# Each layer: its folder, then what its sources may include (folder
# prefixes; "engine/result_codes.h" alone of the engine). "QT" allows Qt
# headers; "SELF" lets the layer include its own folder.
set(layers
  "engine|NOQT"
  "platform/qt|QT|platform/"
  "platform|NOQT|platform/"
  "runner|NOQT|runner/|platform/|engine/result_codes.h"
  "frontend/model|QT|model/|runner/|platform/"
  "frontend/graphs/windows|QT|graphs/|model/|components/|runner/|platform/"
  "frontend/graphs|QT|graphs/|model/|runner/|platform/"
  "frontend/report|QT|report/|graphs/|model/|runner/|platform/"
  "frontend/components|QT|components/|model/|runner/|platform/"
  "frontend/app|QT|app/|report/|graphs/|components/|model/|runner/|platform/"
  "cli|QT|cli/|report/|graphs/|model/|runner/|platform/")
# Below the widget layers: none of these may be included from model,
# graphs, report, runner, platform or cli (korvan runs without a display).
set(widget_folders "platform/qt/" "graphs/windows/" "components/" "app/")
set(headless_layers "platform" "runner" "frontend/model" "frontend/graphs" "frontend/report"
  "cli")

set(failures "")
set(checked 0)
foreach(layer IN LISTS layers)
  string(REPLACE "|" ";" fields "${layer}")
  list(POP_FRONT fields folder qt)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative "${ROOT}" "${source}")
    # A source belongs to the deepest layer whose folder holds it.
    set(owner "")
    foreach(candidate IN LISTS layers)
      string(REGEX REPLACE "\\|.*" "" candidateFolder "${candidate}")
      if(relative MATCHES "^${candidateFolder}/")
        string(LENGTH "${candidateFolder}" length)
        string(LENGTH "${owner}" ownerLength)
        if(length GREATER ownerLength)
          set(owner "${candidateFolder}")
        endif()
      endif()
    endforeach()
    if(NOT owner STREQUAL folder)
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*" "\\1" included "${line}")
      if(line MATCHES "<")
        if(qt STREQUAL "NOQT" AND included MATCHES "^Q")
          list(APPEND failures "${relative}: Qt header <${included}> in a layer without Qt")
        endif()
        continue()
      endif()
      if(folder STREQUAL "engine")
        if(included MATCHES "/" AND NOT included MATCHES "^line_layout/")
          list(APPEND failures "${relative}: the engine includes \"${included}\"")
        endif()
        continue()
      endif()
      if(included STREQUAL "korvan_version.h")
        continue()  # generated from the project version
      endif()
      set(allowed FALSE)
      foreach(prefix IN LISTS fields)
        string(LENGTH "${prefix}" prefixLength)
        string(SUBSTRING "${included}" 0 ${prefixLength} start)
        if(start STREQUAL prefix)
          set(allowed TRUE)
        endif()
      endforeach()
      if(allowed AND folder IN_LIST headless_layers)
        foreach(widgets IN LISTS widget_folders)
          string(LENGTH "${widgets}" widgetsLength)
          string(SUBSTRING "${included}" 0 ${widgetsLength} start)
          if(start STREQUAL widgets)
            set(allowed FALSE)
          endif()
        endforeach()
      endif()
      if(NOT allowed)
        list(APPEND failures "${relative}: \"${included}\" is not in ${folder} or a layer below it")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no sources found under ${ROOT}")
endif()
if(failures)
  # One line each, as written (an error message would be wrapped).
  foreach(failure IN LISTS failures)
    message(NOTICE "${failure}")
  endforeach()
  list(LENGTH failures count)
  message(FATAL_ERROR "${count} includes reach up a layer")
endif()
message(STATUS "${checked} sources include only their own layer and those below it")
