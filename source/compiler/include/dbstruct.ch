/* dbstruct.ch: the positions in an entry of a table structure array (DBSTRUCT(), DBCREATE()). */
#ifndef _DBSTRUCT_CH
#define _DBSTRUCT_CH

#define DBS_NAME  1   /* field name */
#define DBS_TYPE  2   /* "C", "N", "D", "L", "M", ... */
#define DBS_LEN   3   /* width */
#define DBS_DEC   4   /* decimals */
#define DBS_ALEN  4   /* elements of an entry */

#endif
