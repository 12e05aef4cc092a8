# pv_add_prg(TARGET [MAIN] [INCLUDES dir...] SOURCES file.prg...)
# Compiles .prg modules with pvc into C++ sources added to TARGET. Each generated file registers
# its module at static-initialisation time. MAIN marks the first procedure of the first file as
# the program's start candidate (for the application); library modules leave it out.
# The target must link the runtime (pv_vmProcessSymbols). For a STATIC library target, link it
# into executables as an OBJECT library or with whole-archive, or the registrations are dropped.
function(pv_add_prg target)
  cmake_parse_arguments(P "MAIN" "" "INCLUDES;SOURCES" ${ARGN})
  set(flags)
  if(NOT P_MAIN)
    list(APPEND flags --no-first)
  endif()
  foreach(dir IN LISTS P_INCLUDES)
    list(APPEND flags -I ${dir})
  endforeach()
  set(outdir ${CMAKE_CURRENT_BINARY_DIR}/pvc-${target})
  set(first TRUE)
  foreach(src IN LISTS P_SOURCES)
    get_filename_component(abs ${src} ABSOLUTE)
    get_filename_component(base ${src} NAME_WE)
    set(out ${outdir}/${base}.prg.cc)
    set(fileflags ${flags})
    if(P_MAIN AND NOT first)
      list(APPEND fileflags --no-first)
    endif()
    set(first FALSE)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
      COMMAND $<TARGET_FILE:pvc> ${fileflags} -o ${out} --depfile ${out}.d ${abs}
      DEPENDS pvc ${abs}
      DEPFILE ${out}.d
      COMMENT "pvc ${src}"
      VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/source)
endfunction()
