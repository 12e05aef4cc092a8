// Constants of the grid tests (their procedures are in grids_setup.ch, included at the end).
#define CLR_GREEN      32768
#define CLR_WHITE      16777215
#define WM_LBUTTONDOWN 513
