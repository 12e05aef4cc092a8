// Included from shapes.ch: found in shapes.ch's own folder.
#define NESTED_TEXT "nested"
