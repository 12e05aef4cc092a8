/*
 * std.ch: the standard commands. Every module reads this header before its own text (pvc
 * --no-std leaves it out). Each command is a rule that rewrites the statement into calls of the
 * table and runtime functions; `pvc -P file.prg` prints what a program's commands became.
 * A program may define its own commands with #command (newer rules are tried first) or drop
 * one of these with #uncommand and the same pattern. A folder given with -I, or named in
 * PV_INCLUDE, that holds a file std.ch replaces this one. A command word written directly
 * before '(' is a function call, never a command: `SKIP (2)` skips, `Skip(2)` calls SKIP().
 *
 * The rule language in short (see also the README):
 *   <x>        an expression            <x,...>   a list of expressions
 *   <x: A,B>   one of the words         <*x*>     the rest of the line
 *   <(x)>      a name or (expression)   [ ... ]   an optional clause, in any order
 * and in results: <x> as written, #<x> as a string, <"x"> each element as a string, <(x)> as a
 * string unless in parentheses, <{x}> each element as a code block, <.x.> .T. when present.
 *
 * Scope clauses, where a command has them:
 *   ALL          every record, from the top
 *   NEXT n       n records from the current one on
 *   RECORD n     record n only
 *   REST         from the current record to the end
 *   FOR cond     only the records for which cond holds
 *   WHILE cond   from the current record on, as long as cond holds
 * Without one, SUM, AVERAGE, COUNT, LOCATE, COPY, APPEND FROM, SORT, TOTAL and LIST work on all
 * records; REPLACE, DELETE, RECALL and DISPLAY on the current record only.
 */

/* ---- tables and work areas --------------------------------------------------------------- */

/* USE file [ALIAS a] [NEW] [SHARED | EXCLUSIVE] [READONLY] [VIA driver]; USE alone closes. */
#command USE <(db)> [ALIAS <(a)>] [<new:NEW>] [<mode:SHARED,EXCLUSIVE>] [<ro:READONLY>] ;
      [VIA <(rdd)>] ;
      => DBUSEAREA(<.new.>, <rdd>, <(db)>, <(a)>, [__PV_OPENMODE <mode>], <.ro.>)
#command USE => DBCLOSEAREA()
#translate __PV_OPENMODE SHARED => .T.
#translate __PV_OPENMODE EXCLUSIVE => .F.

/* SELECT area: a number, an alias, or (an expression) */
#command SELECT <(area)> => DBSELECTAREA(<(area)>)

#command GO <n> => DBGOTO(<n>)
#command GOTO <n> => DBGOTO(<n>)
#command GO TOP => DBGOTOP()
#command GO BOTTOM => DBGOBOTTOM()
#command SKIP => DBSKIP()
#command SKIP <n> => DBSKIP(<n>)
#command SEEK <key> [<soft:SOFTSEEK>] [<last:LAST>] => DBSEEK(<key>, [<.soft.>], <.last.>)

#command CLOSE <alias> => <alias>->( DBCLOSEAREA() )
#command CLOSE => DBCLOSEAREA()
#command CLOSE ALL => DBCLOSEALL()
#command CLOSE DATABASES => DBCLOSEALL()
#command CLOSE INDEXES => DBCLEARINDEX()
#command COMMIT => DBCOMMITALL()
#command UNLOCK => DBUNLOCK()
#command UNLOCK ALL => DBUNLOCKALL()

/* ---- indexes ------------------------------------------------------------------------------ */

/* INDEX ON key TAG name [TO bag] [FOR cond] [UNIQUE] [DESCENDING] */
#command INDEX ON <key> [TAG <(tag)>] [TO <(bag)>] [FOR <for>] [<u:UNIQUE>] [<d:DESCENDING>] ;
      [ADDITIVE] ;
      => [ORDCONDSET(<"for">, <{for}>, NIL, NIL, NIL, NIL, NIL, NIL, NIL, NIL, <.d.>) ;] ;
         ORDCREATE(<(bag)>, <(tag)>, <"key">, <{key}>, <.u.>)

#command SET ORDER TO <n> => DBSETORDER(<n>)
#command SET ORDER TO => DBSETORDER(0)
#command SET ORDER TO TAG <(tag)> => ORDSETFOCUS(<(tag)>)
#command SET INDEX TO [<(bag1)> [, <(bagN)>]] ;
      => DBCLEARINDEX() [; ORDLISTADD(<(bag1)>)] [; ORDLISTADD(<(bagN)>)]

/* ---- assignment ------------------------------------------------------------------------- */

#command STORE <value> TO <v1> [, <vN>] => <v1> := [<vN> := ] <value>

/* ---- searching ---------------------------------------------------------------------------- */

/* LOCATE finds the first record of the scope that satisfies FOR; CONTINUE the next one. */
#command LOCATE [FOR <for>] [WHILE <while>] [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] ;
      => __DBLOCATE(<{for}>, <{while}>, <next>, <rec>, <.rest.>)
#command CONTINUE => __DBCONTINUE()

/* FIND text: SEEK with the text as written (or the value of a parenthesised expression). */
#command FIND <*text*> => DBSEEK(<(text)>)

/* ---- totals ------------------------------------------------------------------------------- */

#command COUNT TO <v> [FOR <for>] [WHILE <while>] [NEXT <next>] [RECORD <rec>] [<rest:REST>] ;
      [ALL] ;
      => <v> := 0 ; DBEVAL({|| <v> := <v> + 1}, <{for}>, <{while}>, <next>, <rec>, <.rest.>)

#command SUM <x1> [, <xN>] TO <v1> [, <vN>] [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [ALL] ;
      => <v1> := [<vN> := ] 0 ; ;
         DBEVAL({|| <v1> := <v1> + <x1> [, <vN> := <vN> + <xN>]}, ;
                <{for}>, <{while}>, <next>, <rec>, <.rest.>)

/* The average of no records is 0. */
#command AVERAGE <x1> [, <xN>] TO <v1> [, <vN>] [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [ALL] ;
      => EVAL({|nPvCount| nPvCount := 0, <v1> := [<vN> := ] 0, ;
               DBEVAL({|| nPvCount := nPvCount + 1, <v1> := <v1> + <x1> ;
                          [, <vN> := <vN> + <xN>]}, ;
                      <{for}>, <{while}>, <next>, <rec>, <.rest.>), ;
               <v1> := IIF(nPvCount == 0, 0, <v1> / nPvCount) ;
               [, <vN> := IIF(nPvCount == 0, 0, <vN> / nPvCount)]})

/* ---- changing records --------------------------------------------------------------------- */

#command REPLACE [<f1> WITH <x1> [, <fN> WITH <xN>]] [FOR <for>] [WHILE <while>] ;
      [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] ;
      => DBEVAL({|| FIELD-><f1> := <x1> [, FIELD-><fN> := <xN>]}, ;
                <{for}>, <{while}>, <next>, <rec>, <.rest.>)
#command REPLACE <f1> WITH <x1> [, <fN> WITH <xN>] ;
      => FIELD-><f1> := <x1> [; FIELD-><fN> := <xN>]

#command DELETE [FOR <for>] [WHILE <while>] [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] ;
      => DBEVAL({|| DBDELETE()}, <{for}>, <{while}>, <next>, <rec>, <.rest.>)
#command DELETE => DBDELETE()

#command RECALL [FOR <for>] [WHILE <while>] [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] ;
      => DBEVAL({|| DBRECALL()}, <{for}>, <{while}>, <next>, <rec>, <.rest.>)
#command RECALL => DBRECALL()

#command APPEND BLANK => DBAPPEND()
#command PACK => __DBPACK()
#command ZAP => __DBZAP()
#command REINDEX => ORDLISTREBUILD()

/* ---- copying between tables -------------------------------------------------------------- */

#command COPY TO <(file)> [FIELDS <fields,...>] [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [ALL] [VIA <rdd>] ;
      => __DBCOPY(<(file)>, { <(fields)> }, <{for}>, <{while}>, <next>, <rec>, <.rest.>, <rdd>)

/* A new, empty table with the structure of the current one (or the fields named). */
#command COPY STRUCTURE TO <(file)> [FIELDS <fields,...>] ;
      => __DBCOPYSTRUCT(<(file)>, { <(fields)> })

#command APPEND FROM <(file)> [FIELDS <fields,...>] [FOR <for>] [WHILE <while>] ;
      [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] [VIA <rdd>] ;
      => __DBAPP(<(file)>, { <(fields)> }, <{for}>, <{while}>, <next>, <rec>, <.rest.>, <rdd>)

/* SORT TO file ON field[/A|/D|/C], ...: a new table with the records in that order. */
#command SORT TO <(file)> ON <keys,...> [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [ALL] [VIA <rdd>] ;
      => __DBSORT(<(file)>, { <(keys)> }, <{for}>, <{while}>, <next>, <rec>, <.rest.>, <rdd>)

/* TOTAL ON key TO file: one record per run of equal keys, with the numeric FIELDS summed. */
#command TOTAL ON <key> TO <(file)> [FIELDS <fields,...>] [FOR <for>] [WHILE <while>] ;
      [NEXT <next>] [RECORD <rec>] [<rest:REST>] [ALL] [VIA <rdd>] ;
      => __DBTOTAL(<(file)>, <{key}>, { <(fields)> }, <{for}>, <{while}>, <next>, <rec>, ;
                   <.rest.>, <rdd>)

/* ---- showing records ---------------------------------------------------------------------- */

/* LIST and DISPLAY print the expressions (all fields when none are given) of each record,
   after its number unless OFF is given. */
#command LIST [<list,...>] [<off:OFF>] [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [ALL] ;
      => __DBLIST(<.off.>, { <{list}> }, .T., <{for}>, <{while}>, <next>, <rec>, <.rest.>)

#command DISPLAY [<list,...>] [<off:OFF>] [FOR <for>] [WHILE <while>] [NEXT <next>] ;
      [RECORD <rec>] [<rest:REST>] [<all:ALL>] ;
      => __DBLIST(<.off.>, { <{list}> }, <.all.>, <{for}>, <{while}>, <next>, <rec>, <.rest.>)

/* ---- filters and relations ---------------------------------------------------------------- */

#command SET FILTER TO => DBCLEARFILTER()
#command SET FILTER TO <x> => DBSETFILTER(<{x}>, <"x">)
/* SET FILTER TO &cText: the text is the condition (an empty one clears the filter) */
#command SET FILTER TO <x:&> ;
      => IIF(EMPTY(<(x)>), DBCLEARFILTER(), DBSETFILTER(<{x}>, <(x)>))

#command SET RELATION TO => DBCLEARRELATION()
#command SET RELATION TO <key1> INTO <(alias1)> [, [TO] <keyN> INTO <(aliasN)>] ;
      [<add:ADDITIVE>] ;
      => IIF(<.add.>, NIL, DBCLEARRELATION()) ; ;
         DBSETRELATION(<(alias1)>, <{key1}>, <"key1">) ;
         [; DBSETRELATION(<(aliasN)>, <{keyN}>, <"keyN">)]
#command SET RELATION ADDITIVE TO <*rest*> => SET RELATION TO <rest> ADDITIVE


/* ---- settings ----------------------------------------------------------------------------- */

#command SET EXACT ON => SET(1, "ON")
#command SET EXACT OFF => SET(1, "OFF")
#command SET EXACT (<x>) => SET(1, <x>)
#command SET FIXED ON => SET(2, "ON")
#command SET FIXED OFF => SET(2, "OFF")
#command SET FIXED (<x>) => SET(2, <x>)
#command SET EXCLUSIVE ON => SET(8, "ON")
#command SET EXCLUSIVE OFF => SET(8, "OFF")
#command SET EXCLUSIVE (<x>) => SET(8, <x>)
#command SET SOFTSEEK ON => SET(9, "ON")
#command SET SOFTSEEK OFF => SET(9, "OFF")
#command SET SOFTSEEK (<x>) => SET(9, <x>)
#command SET UNIQUE ON => SET(10, "ON")
#command SET UNIQUE OFF => SET(10, "OFF")
#command SET UNIQUE (<x>) => SET(10, <x>)
#command SET DELETED ON => SET(11, "ON")
#command SET DELETED OFF => SET(11, "OFF")
#command SET DELETED (<x>) => SET(11, <x>)
#command SET CONSOLE ON => SET(17, "ON")
#command SET CONSOLE OFF => SET(17, "OFF")
#command SET CONSOLE (<x>) => SET(17, <x>)
#command SET BELL ON => SET(26, "ON")
#command SET BELL OFF => SET(26, "OFF")
#command SET BELL (<x>) => SET(26, <x>)
#command SET CONFIRM ON => SET(27, "ON")
#command SET CONFIRM OFF => SET(27, "OFF")
#command SET CONFIRM (<x>) => SET(27, <x>)
#command SET ESCAPE ON => SET(28, "ON")
#command SET ESCAPE OFF => SET(28, "OFF")
#command SET ESCAPE (<x>) => SET(28, <x>)
#command SET SCOREBOARD ON => SET(32, "ON")
#command SET SCOREBOARD OFF => SET(32, "OFF")
#command SET SCOREBOARD (<x>) => SET(32, <x>)
#command SET WRAP ON => SET(35, "ON")
#command SET WRAP OFF => SET(35, "OFF")
#command SET WRAP (<x>) => SET(35, <x>)
#command SET CENTURY ON => __SETCENTURY("ON")
#command SET CENTURY OFF => __SETCENTURY("OFF")
#command SET CENTURY (<x>) => __SETCENTURY(<x>)
#command SET DATE [FORMAT] [TO] <x> => SET(4, <x>)
#command SET DECIMALS TO <x> => SET(3, <x>)
#command SET EPOCH TO <x> => SET(5, <x>)
#command SET PATH TO <x> => SET(6, <x>)
#command SET DEFAULT TO <x> => SET(7, <x>)

/* ---- the program ------------------------------------------------------------------------- */

#command QUIT => __QUIT()
#command CANCEL => __QUIT()
#command BREAK [<x>] => BREAK(<x>)
#command RELEASE <v1> [, <vN>] => __MVXRELEASE(<"v1">) [; __MVXRELEASE(<"vN">)]

/* ---- files -------------------------------------------------------------------------------- */

#command ERASE <(file)> => FERASE(<(file)>)
#command DELETE FILE <(file)> => FERASE(<(file)>)
#command RENAME <(old)> TO <(new)> => FRENAME(<(old)>, <(new)>)
