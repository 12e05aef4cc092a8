/*
 * std.ch: the standard commands. Every module reads this header before its own text (pvc
 * --no-std leaves it out). Each command is a rule that rewrites the statement into calls of the
 * table and runtime functions; `pvc -P file.prg` prints what a program's commands became.
 * A program may define its own commands with #command (newer rules are tried first) or drop
 * one of these with #uncommand and the same pattern. A folder given with -I, or named in
 * PV_INCLUDE, that holds a file std.ch replaces this one.
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

#command SET RELATION TO => DBCLEARRELATION()
#command SET RELATION TO <key1> INTO <(alias1)> [, [TO] <keyN> INTO <(aliasN)>] ;
      [<add:ADDITIVE>] ;
      => IIF(<.add.>, NIL, DBCLEARRELATION()) ; ;
         DBSETRELATION(<(alias1)>, <{key1}>, <"key1">) ;
         [; DBSETRELATION(<(aliasN)>, <{keyN}>, <"keyN">)]
#command SET RELATION ADDITIVE TO <*rest*> => SET RELATION TO <rest> ADDITIVE

/* ---- files -------------------------------------------------------------------------------- */

#command ERASE <(file)> => FERASE(<(file)>)
#command DELETE FILE <(file)> => FERASE(<(file)>)
#command RENAME <(old)> TO <(new)> => FRENAME(<(old)>, <(new)>)
