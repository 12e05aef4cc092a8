# Stages one grid test in the build tree — the program with its UI script and expectations, the
# shared include, the sample table, and the tables NAME.prg.tables asks mkproduct for (one
# "FILE N [options]" a line) — then runs it as the GUI library's program tests run.
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
get_filename_component(dir ${PRG} DIRECTORY)
get_filename_component(stem ${PRG} NAME_WE)
file(GLOB own ${dir}/${stem}.* ${dir}/*.ch)
file(COPY ${own} ${SAMPLE} DESTINATION ${STAGE})
if(EXISTS ${PRG}.tables)
  file(STRINGS ${PRG}.tables tables)
  foreach(line IN LISTS tables)
    separate_arguments(args UNIX_COMMAND "${line}")
    execute_process(COMMAND ${MKPRODUCT} ${args} WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "mkproduct ${line} failed")
    endif()
  endforeach()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -DPVRUN=${PVRUN} -DPRG=${STAGE}/${stem}.prg -DWORK=${WORK}
                        -DEXPECTED=${PRG}.out -DPNG_SAME=${PNG_SAME} -DREFERENCES=${REFERENCES}
                        -P ${RUN_GUI_PRG}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PRG} failed")
endif()
