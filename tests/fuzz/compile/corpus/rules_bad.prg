#command BAD [<x> => Bad(<x>)
#command BAD <x>] => Bad(<x>)
#command BAD <> => Bad()
#command BAD <x> => Bad(<y>)
#xcommand LOOPY => LOOPY
#translate GROW => GROW + 1
#command SPLIT => SPLIT ; SPLIT
#command NEED <x> TO <y> => Need(<x>, <y>)
LOOPY
x := GROW
SPLIT
NEED a TO
#command <x> => y
#command A [[[[ => b
