# The browse grid: painting helpers (plain C++ over the Win32 layer, tested on their own), and in
# pv_gui the language functions over them and the Win32 calls the grid adds. The classes
# TXBrowse and TXBrwColumn (xbrowse.prg, xbrwcolumn.prg, xbrowse_rdd.prg) join pv_gui with the
# library's other .prg files.
add_library(pv_xbrowse_paint STATIC ${CMAKE_CURRENT_LIST_DIR}/xbrowse_paint.cc)
target_include_directories(pv_xbrowse_paint PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(pv_xbrowse_paint PUBLIC pv_win32)

target_sources(pv_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/xbrowse_natives.cc
                              ${CMAKE_CURRENT_LIST_DIR}/xbrowse_cells.cc
                              ${CMAKE_CURRENT_LIST_DIR}/xbrowse_lines.cc
                              ${CMAKE_CURRENT_LIST_DIR}/xbrowse_winapi.cc)
target_link_libraries(pv_gui PUBLIC pv_xbrowse_paint)
