# pv_add_resources(TARGET file.rc...)
# Compiles resource scripts with pvrc into C++ sources that register their dialog templates
# when the program starts, adds them to TARGET and links TARGET with the platform layer.
# TARGET should be an executable (or an object library) so that the registrations are kept.
function(pv_add_resources target)
  foreach(rc IN LISTS ARGN)
    get_filename_component(abs ${rc} ABSOLUTE)
    get_filename_component(stem ${rc} NAME_WE)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_rc.cc)
    add_custom_command(OUTPUT ${out}
                       COMMAND pvrc ${abs} -o ${out}
                       DEPENDS pvrc ${abs}
                       COMMENT "Compiling resource script ${rc}"
                       VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
  target_link_libraries(${target} PRIVATE pv_win32)
endfunction()
