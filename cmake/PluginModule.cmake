# orv_plugin_module(<target> EXPORTS <map> <def>): links a plug-in module as
# hosts load it. Only the names the export map (Linux) or .def file
# (Windows) lists are exported; the C++ runtime is linked in statically and
# hidden, so the module neither depends on the host's runtime nor clashes
# with another plug-in's. Sanitizer builds keep the shared runtime the
# sanitizers need.
function(orv_plugin_module target)
  cmake_parse_arguments(M "" "" "EXPORTS" ${ARGN})
  list(GET M_EXPORTS 0 map)
  list(GET M_EXPORTS 1 def)
  if(WIN32)
    # -static takes libgcc, libstdc++ and winpthread from their archives: the
    # DLL then imports only what every Windows has.
    target_sources(${target} PRIVATE ${def})
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
  else()
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${map}
      -Wl,--no-undefined -Wl,--exclude-libs,ALL)
    if(NOT ORV_SANITIZE AND NOT ORV_TSAN AND NOT ORV_FUZZ)
      target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
    endif()
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${map})
  endif()
endfunction()
