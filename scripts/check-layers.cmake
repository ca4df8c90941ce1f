# The layer check: every source file belongs to one library or program, and
# includes only headers of its own target or of targets it links, directly or
# through what those pass on. Includes name their folder from the top of the
# tree; a header that CMake writes into the build folder is named from the
# top of CORVINAL_GENERATED_DIR, under which it lies in its folder as if in the
# source tree. A headless layer does not link Qt Widgets.
#
#   cmake -DLAYERS=build/layers.cmake -P scripts/check-layers.cmake
#
# layers.cmake is written by every configure run (cmake/Layers.cmake).

cmake_minimum_required(VERSION 3.22)

if(NOT LAYERS OR NOT EXISTS "${LAYERS}")
  message(FATAL_ERROR "Run with -DLAYERS=<build>/layers.cmake after configuring.")
endif()
include("${LAYERS}")
set(Root "${CORVINAL_SOURCE_DIR}")
set(Problems)

# The name by which includes reach the file at Path.
function(corvinal_include_name Path Out)
  set(Base "${Root}")
  if(CORVINAL_GENERATED_DIR)
    cmake_path(IS_PREFIX CORVINAL_GENERATED_DIR "${Path}" NORMALIZE Generated)
    if(Generated)
      set(Base "${CORVINAL_GENERATED_DIR}")
    endif()
  endif()
  file(RELATIVE_PATH R "${Base}" "${Path}")
  set(${Out} "${R}" PARENT_SCOPE)
endfunction()

foreach(T ${CORVINAL_TARGETS})
  foreach(S ${SOURCES_${T}})
    corvinal_include_name("${S}" R)
    if(DEFINED "OWNER_${R}")
      list(APPEND Problems "${R} belongs to both ${OWNER_${R}} and ${T}")
    endif()
    set("OWNER_${R}" ${T})
  endforeach()
endforeach()

set(Checked 0)
foreach(T ${CORVINAL_TARGETS})
  if(WIDGET_FREE_${T} AND "Qt6::Widgets" IN_LIST LINKS_${T})
    list(APPEND Problems "${T} is a headless layer but links Qt6::Widgets")
  endif()
  foreach(S ${SOURCES_${T}})
    corvinal_include_name("${S}" R)
    math(EXPR Checked "${Checked} + 1")
    file(STRINGS "${S}" Lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(Line ${Lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" Header "${Line}")
      if(NOT Header MATCHES "/")
        list(APPEND Problems "${R} includes \"${Header}\" without its folder")
        continue()
      endif()
      if(NOT DEFINED "OWNER_${Header}")
        if(EXISTS "${Root}/${Header}")
          list(APPEND Problems "${R} includes ${Header}, which belongs to no library")
        else()
          list(APPEND Problems "${R} includes ${Header}, which does not exist")
        endif()
        continue()
      endif()
      set(Owner ${OWNER_${Header}})
      if(NOT Owner STREQUAL T AND NOT Owner IN_LIST LINKS_${T})
        list(APPEND Problems
          "${R} (${T}) includes ${Header} of ${Owner}, which ${T} does not link")
      endif()
    endforeach()
  endforeach()
endforeach()

# A source file that no target lists would escape the check.
file(GLOB_RECURSE All RELATIVE "${Root}"
  "${Root}/base/*.[hc]*" "${Root}/file/*.[hc]*" "${Root}/model/*.[hc]*"
  "${Root}/scenarios/*.[hc]*" "${Root}/map/*.[hc]*" "${Root}/document/*.[hc]*"
  "${Root}/widgets/*.[hc]*" "${Root}/ui/*.[hc]*" "${Root}/app/*.[hc]*"
  "${Root}/tests/*.[hc]*" "${Root}/bench/*.[hc]*" "${Root}/fuzz/*.[hc]*")
foreach(R ${All})
  if(R MATCHES "\\.(h|cpp)$" AND NOT R MATCHES "/corpus/|^tests/data/" AND NOT DEFINED "OWNER_${R}")
    list(APPEND Problems "${R} belongs to no library or program")
  endif()
endforeach()

list(LENGTH CORVINAL_TARGETS Targets)
if(Problems)
  list(JOIN Problems "\n  " Text)
  message(FATAL_ERROR "Layer check failed:\n  ${Text}")
endif()
message(STATUS "Layer check: ${Checked} files in ${Targets} targets, every include within its layers.")
