// Constants for the preprocessor test, included from the including file's folder.
#define SIDES_TRIANGLE 3
#define SIDES_SQUARE   4
#include "nested.ch"
