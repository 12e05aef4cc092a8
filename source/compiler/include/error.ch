/* error.ch: severities and generic codes of error objects (oError:severity, oError:genCode). */
#ifndef _ERROR_CH
#define _ERROR_CH

#define ES_WHOCARES     0
#define ES_WARNING      1
#define ES_ERROR        2
#define ES_CATASTROPHIC 3

#define EG_ARG          1   /* argument error */
#define EG_BOUND        2   /* bound error */
#define EG_STROVERFLOW  3   /* string overflow */
#define EG_NUMOVERFLOW  4   /* numeric overflow */
#define EG_ZERODIV      5   /* zero divisor */
#define EG_NUMERR       6   /* numeric error */
#define EG_SYNTAX       7   /* syntax error */
#define EG_COMPLEXITY   8   /* operation too complex */
#define EG_MEM          11  /* memory low */
#define EG_NOFUNC       12  /* undefined function */
#define EG_NOMETHOD     13  /* no exported method */
#define EG_NOVAR        14  /* variable does not exist */
#define EG_NOALIAS      15  /* alias does not exist */
#define EG_NOVARMETHOD  16  /* no exported variable */
#define EG_BADALIAS     17  /* illegal characters in alias */
#define EG_DUPALIAS     18  /* alias already in use */
#define EG_CREATE       20  /* create error */
#define EG_OPEN         21  /* open error */
#define EG_CLOSE        22  /* close error */
#define EG_READ         23  /* read error */
#define EG_WRITE        24  /* write error */
#define EG_PRINT        25  /* print error */
#define EG_UNSUPPORTED  30  /* operation not supported */
#define EG_LIMIT        31  /* limit exceeded */
#define EG_CORRUPTION   32  /* corruption detected */
#define EG_DATATYPE     33  /* data type error */
#define EG_DATAWIDTH    34  /* data width error */
#define EG_NOTABLE      35  /* workarea not in use */
#define EG_NOORDER      36  /* workarea not indexed */
#define EG_SHARED       37  /* exclusive required */
#define EG_UNLOCKED     38  /* lock required */
#define EG_READONLY     39  /* write not allowed */
#define EG_APPENDLOCK   40  /* append lock failed */
#define EG_LOCK         41  /* lock failure */

#endif
