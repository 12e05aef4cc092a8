// The bytecode of the stack machine, version 9: one opcode byte followed by its operands.
//
// Encoding rules (shared by the compiler, the machine and the disassembler):
//   - operands are little-endian;
//   - "sym8"/"sym16" is a 1- or 2-byte index into the module's symbol table;
//   - "loc8"/"loc16" is a signed local number (parameters are 1..p, locals follow; inside a code
//     block a negative number -k is the k-th detached local);
//   - "u8"/"u16" are unsigned counts or values, "s8"/"s16"/"s24"/"s32"/"s64" signed values;
//   - jump distances are signed and counted from the address of the jump opcode itself;
//   - "text16" is a 2-byte length followed by that many bytes, the last of which is a NUL;
//     "text8" the same with a 1-byte length; "cstr" is a NUL-terminated string;
//   - "ptr" (macro-compiled code only) is a dynamic-symbol pointer in host byte order and size;
//     such code is never stored, so the width of a pointer is that of the running process.
//
// Grep "ORDER PCODE" when changing this enum: the operand-length table and the disassembler
// follow it.
#pragma once

#include <cstdint>

namespace pv {

inline constexpr int kPcodeVersion = 9;

enum Pcode : uint8_t {  // ORDER PCODE
  PV_P_AND = 0,              //                 a b -> a .AND. b
  PV_P_ARRAYPUSH = 1,        //                 array index -> element
  PV_P_ARRAYPOP = 2,         //                 value array index -> ; array[index] := value
  PV_P_ARRAYDIM = 3,         // u16 n           size1..sizen -> multi-dimensional array
  PV_P_ARRAYGEN = 4,         // u16 n           v1..vn -> { v1, ..., vn }
  PV_P_EQUAL = 5,            //                 a b -> a = b (obeys SET EXACT)
  PV_P_ENDBLOCK = 6,         //                 end of a code block, its value is the top
  PV_P_ENDPROC = 7,          //                 end of a procedure
  PV_P_EXACTLYEQUAL = 8,     //                 a b -> a == b
  PV_P_FALSE = 9,            //                 -> .F.
  PV_P_FORTEST = 10,         //                 counter end step -> continue?
  PV_P_FUNCTION = 11,        // u16 argc        sym nil args -> result
  PV_P_FUNCTIONSHORT = 12,   // u8 argc         sym nil args -> result
  PV_P_FRAME = 13,           // u8 locals, u8 params   procedure frame
  PV_P_FUNCPTR = 14,         //                 sym -> pointer to its function
  PV_P_GREATER = 15,         //                 a b -> a > b
  PV_P_GREATEREQUAL = 16,    //                 a b -> a >= b
  PV_P_DEC = 17,             //                 a -> a - 1
  PV_P_DIVIDE = 18,          //                 a b -> a / b
  PV_P_DO = 19,              // u16 argc        sym nil args -> (result discarded)
  PV_P_DOSHORT = 20,         // u8 argc         sym nil args -> (result discarded)
  PV_P_DUPLICATE = 21,       //                 a -> a a
  PV_P_DUPLTWO = 22,         //                 a b -> a b a b
  PV_P_INC = 23,             //                 a -> a + 1
  PV_P_INSTRING = 24,        //                 a b -> a $ b
  PV_P_JUMPNEAR = 25,        // s8 dist
  PV_P_JUMP = 26,            // s16 dist
  PV_P_JUMPFAR = 27,         // s24 dist
  PV_P_JUMPFALSENEAR = 28,   // s8 dist         cond ->
  PV_P_JUMPFALSE = 29,       // s16 dist        cond ->
  PV_P_JUMPFALSEFAR = 30,    // s24 dist        cond ->
  PV_P_JUMPTRUENEAR = 31,    // s8 dist         cond ->
  PV_P_JUMPTRUE = 32,        // s16 dist        cond ->
  PV_P_JUMPTRUEFAR = 33,     // s24 dist        cond ->
  PV_P_LESSEQUAL = 34,       //                 a b -> a <= b
  PV_P_LESS = 35,            //                 a b -> a < b
  PV_P_LINE = 36,            // u16 line        current source line
  PV_P_LOCALNAME = 37,       // u16 local, cstr name      debug information
  PV_P_MACROPOP = 38,        // u8 flags        value text -> ; &text := value
  PV_P_MACROPOPALIASED = 39, // u8 flags        value text -> ; aliased &text := value
  PV_P_MACROPUSH = 40,       // u8 flags        text -> value of &text
  PV_P_MACROPUSHARG = 41,    // u8 flags        text -> value(s), as a call argument
  PV_P_MACROPUSHLIST = 42,   // u8 flags        text -> values, as a list
  PV_P_MACROPUSHINDEX = 43,  // u8 flags        text -> values, as an index
  PV_P_MACROPUSHPARE = 44,   // u8 flags        text -> value, in parentheses
  PV_P_MACROPUSHALIASED = 45,// u8 flags        text -> aliased value
  PV_P_MACROSYMBOL = 46,     //                 text -> symbol
  PV_P_MACROTEXT = 47,       //                 text -> text with embedded &macros expanded
  PV_P_MESSAGE = 48,         // sym16           -> message symbol
  PV_P_MINUS = 49,           //                 a b -> a - b
  PV_P_MODULUS = 50,         //                 a b -> a % b
  PV_P_MODULENAME = 51,      // cstr "module:procedure"
  PV_P_MMESSAGE = 52,        // ptr             -> message symbol (macro code)
  PV_P_MPOPALIASEDFIELD = 53,// ptr             value alias -> (macro code)
  PV_P_MPOPALIASEDVAR = 54,  // ptr             value alias -> (macro code)
  PV_P_MPOPFIELD = 55,       // ptr             value -> (macro code)
  PV_P_MPOPMEMVAR = 56,      // ptr             value -> (macro code)
  PV_P_MPUSHALIASEDFIELD = 57,// ptr            alias -> value (macro code)
  PV_P_MPUSHALIASEDVAR = 58, // ptr             alias -> value (macro code)
  PV_P_MPUSHBLOCK = 59,      // like PUSHBLOCK, in macro-compiled code
  PV_P_MPUSHFIELD = 60,      // ptr             -> field value (macro code)
  PV_P_MPUSHMEMVAR = 61,     // ptr             -> memvar value (macro code)
  PV_P_MPUSHMEMVARREF = 62,  // ptr             -> @memvar (macro code)
  PV_P_MPUSHSYM = 63,        // ptr             -> symbol (macro code)
  PV_P_MPUSHVARIABLE = 64,   // ptr             -> field or memvar value (macro code)
  PV_P_MULT = 65,            //                 a b -> a * b
  PV_P_NEGATE = 66,          //                 a -> -a
  PV_P_NOOP = 67,            //                 nothing
  PV_P_NOT = 68,             //                 a -> .NOT. a
  PV_P_NOTEQUAL = 69,        //                 a b -> a != b
  PV_P_OR = 70,              //                 a b -> a .OR. b
  PV_P_PARAMETER = 71,       // sym16, u8 n     PRIVATE variable named sym from parameter n
  PV_P_PLUS = 72,            //                 a b -> a + b
  PV_P_POP = 73,             //                 a ->
  PV_P_POPALIAS = 74,        //                 alias -> ; select that work area
  PV_P_POPALIASEDFIELD = 75, // sym16           value alias -> ; alias->field := value
  PV_P_POPALIASEDFIELDNEAR = 76, // sym8        value alias ->
  PV_P_POPALIASEDVAR = 77,   // sym16           value alias -> ; aliased field or memvar
  PV_P_POPFIELD = 78,        // sym16           value -> ; field of the current area
  PV_P_POPLOCAL = 79,        // loc16           value ->
  PV_P_POPLOCALNEAR = 80,    // loc8            value ->
  PV_P_POPMEMVAR = 81,       // sym16           value ->
  PV_P_POPSTATIC = 82,       // u16 n           value ->
  PV_P_POPVARIABLE = 83,     // sym16           value -> ; field if the area has it, else memvar
  PV_P_POWER = 84,           //                 a b -> a ^ b
  PV_P_PUSHALIAS = 85,       //                 -> current work-area number
  PV_P_PUSHALIASEDFIELD = 86,// sym16           alias -> field value
  PV_P_PUSHALIASEDFIELDNEAR = 87, // sym8       alias -> field value
  PV_P_PUSHALIASEDVAR = 88,  // sym16           alias -> field or memvar value
  PV_P_PUSHBLOCK = 89,       // u16 size, u16 params, u16 nlocals, nlocals x u16 local, code
  PV_P_PUSHBLOCKSHORT = 90,  // u8 size, code   block without parameters or detached locals
  PV_P_PUSHFIELD = 91,       // sym16           -> field value
  PV_P_PUSHBYTE = 92,        // s8              -> number
  PV_P_PUSHINT = 93,         // s16             -> number
  PV_P_PUSHLOCAL = 94,       // loc16           -> value
  PV_P_PUSHLOCALNEAR = 95,   // loc8            -> value
  PV_P_PUSHLOCALREF = 96,    // loc16           -> @local
  PV_P_PUSHLONG = 97,        // s32             -> number
  PV_P_PUSHMEMVAR = 98,      // sym16           -> memvar value
  PV_P_PUSHMEMVARREF = 99,   // sym16           -> @memvar
  PV_P_PUSHNIL = 100,        //                 -> NIL
  PV_P_PUSHDOUBLE = 101,     // f64, u8 width, u8 decimals   -> number
  PV_P_PUSHSELF = 102,       //                 -> Self
  PV_P_PUSHSTATIC = 103,     // u16 n           -> static value
  PV_P_PUSHSTATICREF = 104,  // u16 n           -> @static
  PV_P_PUSHSTR = 105,        // text16          -> string
  PV_P_PUSHSTRSHORT = 106,   // text8           -> string
  PV_P_PUSHSYM = 107,        // sym16           -> symbol
  PV_P_PUSHSYMNEAR = 108,    // sym8            -> symbol
  PV_P_PUSHVARIABLE = 109,   // sym16           -> field or memvar value
  PV_P_RETVALUE = 110,       //                 value -> ; into the return slot
  PV_P_SEND = 111,           // u16 argc        msg receiver args -> result
  PV_P_SENDSHORT = 112,      // u8 argc         msg receiver args -> result
  PV_P_SEQBEGIN = 113,       // s24 dist        to the recovery code
  PV_P_SEQEND = 114,         // s24 dist        past the recovery code
  PV_P_SEQRECOVER = 115,     //                 -> value handed to BREAK
  PV_P_SFRAME = 116,         // sym16           select the statics of the initialiser's module
  PV_P_STATICS = 117,        // sym16, u16 n    create the module statics array (once)
  PV_P_STATICNAME = 118,     // u8 flag, u16 n, cstr name  debug information
  PV_P_SWAPALIAS = 119,      //                 area value -> value ; select the saved area
  PV_P_TRUE = 120,           //                 -> .T.
  PV_P_ZERO = 121,           //                 -> 0
  PV_P_ONE = 122,            //                 -> 1
  PV_P_MACROLIST = 123,      //                 start of a macro argument list
  PV_P_MACROLISTEND = 124,   //                 end of a macro argument list
  PV_P_LOCALADDINT = 125,    // loc8, s16 n     local += n
  PV_P_LOCALSETINT = 126,    // loc8, s16 n     local := n
  PV_P_LOCALSETSTR = 127,    // loc8, text16    local := text
  PV_P_ADDINT = 128,         // s16 n           a -> a + n
  PV_P_LEFT = 129,           // u16 n           text -> left n characters
  PV_P_RIGHT = 130,          // u16 n           text -> right n characters
  PV_P_SUBSTR = 131,         // u16, u16        unsupported
  PV_P_PUSHSTRMACRO = 132,   // text16          -> string (macro form)
  PV_P_BASELINE = 133,       // u16 line        base line
  PV_P_LINEOFFSET = 134,     // u8 n            line := base line + n
  PV_P_WITHOBJECTSTART = 135,//                 object -> ; opens WITH OBJECT
  PV_P_SENDWITH = 136,       // u16 argc        msg args -> result, receiver = WITH object
  PV_P_SENDWITHSHORT = 137,  // u8 argc
  PV_P_WITHOBJECTEND = 138,  //                 closes WITH OBJECT
  PV_P_FOREACH = 139,        //                 @var container -> ; starts FOR EACH
  PV_P_ENUMERATE = 140,      //                 -> another element? (assigns the variable)
  PV_P_ENUMEND = 141,        //                 ends FOR EACH
  PV_P_PUSHGLOBAL = 142,     // u8 n            -> global value
  PV_P_POPGLOBAL = 143,      // u8 n            value ->
  PV_P_PUSHGLOBALREF = 144,  // u8 n            -> @global
  PV_P_ENUMINDEX = 145,      //                 -> FOR EACH index
  PV_P_SWITCHCASE = 146,     // s32 n           value -> value, value == n
  PV_P_LIKE = 147,           //                 text regex -> whole text matches
  PV_P_MATCH = 148,          //                 text regex -> a match anywhere
  PV_P_PUSHMACROREF = 149,   //                 text -> @variable named by text
  PV_P_IVARREF = 150,        //                 msg object -> @instance variable
  PV_P_CLASSSETMODULE = 151, //                 class handle -> ; module of the class being built
  PV_P_BITAND = 152,         //                 a b -> a & b
  PV_P_BITOR = 153,          //                 a b -> a | b
  PV_P_BITXOR = 154,         //                 a b -> a ^^ b
  PV_P_BITSHIFTR = 155,      //                 a b -> a >> b
  PV_P_BITSHIFTL = 156,      //                 a b -> a << b
  PV_P_LARGEFRAME = 157,     // u16 locals, u8 params
  PV_P_PUSHWITH = 158,       //                 -> current WITH object
  PV_P_PUSHLONGLONG = 159,   // s64             -> number
  PV_P_PUSHSTRHIDDEN = 160,  // u16, u8, u16, bytes    unsupported (scrambled text)
  PV_P_LOCALSETSTRHIDDEN = 161, // loc8, ...    unsupported (scrambled text)
  PV_P_TRYBEGIN = 162,       // s24 dist        to the CATCH code
  PV_P_TRYEND = 163,         // s24 dist        past the CATCH code
  PV_P_TRYRECOVER = 164,     // s24 dist        start of CATCH, to the FINALLY code (0: none)
  PV_P_FINALLY = 165,        //                 start of FINALLY
  PV_P_ENDFINALLY = 166,     //                 end of FINALLY: resume a pending unwind
  PV_P_LOCALADD = 167,       // loc8            value -> ; local += value
  PV_P_ARRAYPUSHREF = 168,   //                 array index -> @element
  PV_P_ARRAYPOPPLUS = 169,   //                 value array index -> ; array[index] += value
  PV_P_PUSHDATETIME = 170,   // s32 julian, s32 milliseconds   -> date-time
  PV_P_PUSHDATE = 171,       // s32 julian      -> date
  PV_P_HASHGEN = 172,        // u16 n           k1 v1 .. kn vn -> hash
  PV_P_LOCALINC = 173,       // loc8            local++
  PV_P_LOCALDEC = 174,       // loc8            local--
  PV_P_LOCALINCPUSH = 175,   // loc8            ++local, pushed
  PV_P_LOCALDECPUSH = 176,   // loc8            --local, pushed
  PV_P_LAST_PCODE = 177      // number of opcodes
};

}  // namespace pv
