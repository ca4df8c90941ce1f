# Libraries and programs of the project, and what the layer check needs to
# know of them: which sources belong to which target, and which targets each
# one links. The project's own targets, and only they, compile with its
# warnings: libraries of the system and code of others are not ours to fix.

define_property(TARGET PROPERTY CORVINAL_WIDGET_FREE
  BRIEF_DOCS "The target must not link Qt Widgets"
  FULL_DOCS "Set on the headless layers; the layer check enforces it.")

# Every library, program, test and helper of the project is registered: the
# layer check reads its sources, and it compiles with the project's warnings
# (as errors with CORVINAL_WERROR).
function(corvinal_register Target)
  set_property(GLOBAL APPEND PROPERTY CORVINAL_TARGETS ${Target})
  get_target_property(Type ${Target} TYPE)
  if(NOT Type STREQUAL "INTERFACE_LIBRARY")
    target_compile_options(${Target} PRIVATE -Wall -Wextra)
    if(CORVINAL_WERROR)
      target_compile_options(${Target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# corvinal_add_library(Name [WIDGETS] [SIGNALS] SOURCES file... LINKS target...)
# A static library of one layer. Only a library marked WIDGETS may link Qt
# Widgets; it also runs moc over its sources, as does a widget-free library
# marked SIGNALS (objects that tell others of their changes).
function(corvinal_add_library Name)
  cmake_parse_arguments(ARG "WIDGETS;SIGNALS" "" "SOURCES;LINKS" ${ARGN})
  add_library(${Name} STATIC ${ARG_SOURCES})
  target_link_libraries(${Name} PUBLIC ${ARG_LINKS})
  if(ARG_WIDGETS OR ARG_SIGNALS)
    set_target_properties(${Name} PROPERTIES AUTOMOC ON)
  endif()
  if(NOT ARG_WIDGETS)
    set_target_properties(${Name} PROPERTIES CORVINAL_WIDGET_FREE ON)
  endif()
  corvinal_register(${Name})
endfunction()

# The targets of the project that Target links: directly, and through what
# those pass on to their users.
function(corvinal_link_closure Target Out)
  get_property(Known GLOBAL PROPERTY CORVINAL_TARGETS)
  get_target_property(Type ${Target} TYPE)
  if(Type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(Work ${Target} INTERFACE_LINK_LIBRARIES)
  else()
    get_target_property(Work ${Target} LINK_LIBRARIES)
  endif()
  set(Seen)
  while(Work)
    list(POP_FRONT Work Item)
    if(NOT Item OR Item MATCHES "^\\$<LINK_ONLY:" OR Item IN_LIST Seen)
      continue()
    endif()
    list(APPEND Seen ${Item})
    if(TARGET ${Item} AND Item IN_LIST Known)
      get_target_property(Next ${Item} INTERFACE_LINK_LIBRARIES)
      if(Next)
        list(APPEND Work ${Next})
      endif()
    endif()
  endwhile()
  set(${Out} ${Seen} PARENT_SCOPE)
endfunction()

# Writes, for every registered target, its sources as absolute paths, the
# targets it links and whether it must stay free of Qt Widgets; and where the
# headers that CMake writes lie.
function(corvinal_write_layers File)
  get_property(Known GLOBAL PROPERTY CORVINAL_TARGETS)
  set(Text "set(CORVINAL_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\n")
  string(APPEND Text "set(CORVINAL_GENERATED_DIR \"${CORVINAL_GENERATED_DIR}\")\n")
  string(APPEND Text "set(CORVINAL_TARGETS ${Known})\n")
  foreach(Target ${Known})
    get_target_property(Sources ${Target} SOURCES)
    get_target_property(Dir ${Target} SOURCE_DIR)
    set(Absolute)
    foreach(S ${Sources})
      if(S MATCHES "^\\$<")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH S BASE_DIRECTORY ${Dir} NORMALIZE OUTPUT_VARIABLE A)
      list(APPEND Absolute ${A})
    endforeach()
    corvinal_link_closure(${Target} Links)
    get_target_property(WidgetFree ${Target} CORVINAL_WIDGET_FREE)
    string(APPEND Text "set(SOURCES_${Target} \"${Absolute}\")\n")
    string(APPEND Text "set(LINKS_${Target} \"${Links}\")\n")
    string(APPEND Text "set(WIDGET_FREE_${Target} \"${WidgetFree}\")\n")
  endforeach()
  file(WRITE ${File} "${Text}")
endfunction()
