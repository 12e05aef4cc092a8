#command BAD [<x> => Bad(<x>)
#command BAD <x>] => Bad(<x>)
#command BAD <> => Bad()
#command BAD <x> => Bad(<y>)
#xcommand LOOPY => LOOPY
#command NEED <x> TO <y> => Need(<x>, <y>)
LOOPY
NEED a TO
#command <x> => y
#command A [[[[ => b
