// A replacement for the standard header, found through -I before the built-in one.
#command SKIP <n> => Overridden(<n>)
