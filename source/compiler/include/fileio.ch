/* fileio.ch: modes, positions and attributes of the low-level file functions (FOPEN, FCREATE,
   FSEEK) and the error value they return. */
#ifndef _FILEIO_CH
#define _FILEIO_CH

/* FOPEN access modes, added to one sharing mode */
#define FO_READ       0
#define FO_WRITE      1
#define FO_READWRITE  2

#define FO_COMPAT     0   /* sharing as the system decides */
#define FO_EXCLUSIVE  16  /* no other opens */
#define FO_DENYWRITE  32  /* others may only read */
#define FO_DENYREAD   48  /* others may only write */
#define FO_DENYNONE   64  /* others may read and write */
#define FO_SHARED     64

/* FSEEK origins */
#define FS_SET        0   /* from the start */
#define FS_RELATIVE   1   /* from the current position */
#define FS_END        2   /* from the end */

/* FCREATE attributes */
#define FC_NORMAL     0
#define FC_READONLY   1
#define FC_HIDDEN     2
#define FC_SYSTEM     4

/* returned by FOPEN and FCREATE on failure (FERROR() tells why) */
#define F_ERROR       (-1)

#endif
