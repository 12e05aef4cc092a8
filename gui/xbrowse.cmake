# The browse grid: painting helpers (plain C++ over the Win32 layer, tested on their own), the
# language functions over them and the classes TXBrowse and TXBrwColumn, all in pv_gui.
add_library(pv_xbrowse_paint STATIC ${CMAKE_CURRENT_LIST_DIR}/xbrowse_paint.cpp)
target_include_directories(pv_xbrowse_paint PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(pv_xbrowse_paint PUBLIC pv_win32)
