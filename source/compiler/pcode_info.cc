// Names and operand layouts of the opcodes (ORDER PCODE).
#include "compiler/pcode_info.h"

#include "vm/pcode.h"

namespace pv {

namespace {

const PcodeInfo kInfo[] = {  // ORDER PCODE
    {"AND", ""}, {"ARRAYPUSH", ""}, {"ARRAYPOP", ""}, {"ARRAYDIM", "w"}, {"ARRAYGEN", "w"},
    {"EQUAL", ""}, {"ENDBLOCK", ""}, {"ENDPROC", ""}, {"EXACTLYEQUAL", ""}, {"FALSE", ""},
    {"FORTEST", ""}, {"FUNCTION", "w"}, {"FUNCTIONSHORT", "b"}, {"FRAME", "bb"},
    {"FUNCPTR", ""}, {"GREATER", ""}, {"GREATEREQUAL", ""}, {"DEC", ""}, {"DIVIDE", ""},
    {"DO", "w"}, {"DOSHORT", "b"}, {"DUPLICATE", ""}, {"DUPLTWO", ""}, {"INC", ""},
    {"INSTRING", ""}, {"JUMPNEAR", "j"}, {"JUMP", "J"}, {"JUMPFAR", "F"},
    {"JUMPFALSENEAR", "j"}, {"JUMPFALSE", "J"}, {"JUMPFALSEFAR", "F"}, {"JUMPTRUENEAR", "j"},
    {"JUMPTRUE", "J"}, {"JUMPTRUEFAR", "F"}, {"LESSEQUAL", ""}, {"LESS", ""}, {"LINE", "w"},
    {"LOCALNAME", "wZ"}, {"MACROPOP", "b"}, {"MACROPOPALIASED", "b"}, {"MACROPUSH", "b"},
    {"MACROPUSHARG", "b"}, {"MACROPUSHLIST", "b"}, {"MACROPUSHINDEX", "b"},
    {"MACROPUSHPARE", "b"}, {"MACROPUSHALIASED", "b"}, {"MACROSYMBOL", ""}, {"MACROTEXT", ""},
    {"MESSAGE", "Y"}, {"MINUS", ""}, {"MODULUS", ""}, {"MODULENAME", "Z"}, {"MMESSAGE", "P"},
    {"MPOPALIASEDFIELD", "P"}, {"MPOPALIASEDVAR", "P"}, {"MPOPFIELD", "P"}, {"MPOPMEMVAR", "P"},
    {"MPUSHALIASEDFIELD", "P"}, {"MPUSHALIASEDVAR", "P"}, {"MPUSHBLOCK", "B"},
    {"MPUSHFIELD", "P"}, {"MPUSHMEMVAR", "P"}, {"MPUSHMEMVARREF", "P"}, {"MPUSHSYM", "P"},
    {"MPUSHVARIABLE", "P"}, {"MULT", ""}, {"NEGATE", ""}, {"NOOP", ""}, {"NOT", ""},
    {"NOTEQUAL", ""}, {"OR", ""}, {"PARAMETER", "Yb"}, {"PLUS", ""}, {"POP", ""},
    {"POPALIAS", ""}, {"POPALIASEDFIELD", "Y"}, {"POPALIASEDFIELDNEAR", "S"},
    {"POPALIASEDVAR", "Y"}, {"POPFIELD", "Y"}, {"POPLOCAL", "M"}, {"POPLOCALNEAR", "L"},
    {"POPMEMVAR", "Y"}, {"POPSTATIC", "w"}, {"POPVARIABLE", "Y"}, {"POWER", ""},
    {"PUSHALIAS", ""}, {"PUSHALIASEDFIELD", "Y"}, {"PUSHALIASEDFIELDNEAR", "S"},
    {"PUSHALIASEDVAR", "Y"}, {"PUSHBLOCK", "B"}, {"PUSHBLOCKSHORT", "K"}, {"PUSHFIELD", "Y"},
    {"PUSHBYTE", "c"}, {"PUSHINT", "i"}, {"PUSHLOCAL", "M"}, {"PUSHLOCALNEAR", "L"},
    {"PUSHLOCALREF", "M"}, {"PUSHLONG", "l"}, {"PUSHMEMVAR", "Y"}, {"PUSHMEMVARREF", "Y"},
    {"PUSHNIL", ""}, {"PUSHDOUBLE", "dbb"}, {"PUSHSELF", ""}, {"PUSHSTATIC", "w"},
    {"PUSHSTATICREF", "w"}, {"PUSHSTR", "X"}, {"PUSHSTRSHORT", "T"}, {"PUSHSYM", "Y"},
    {"PUSHSYMNEAR", "S"}, {"PUSHVARIABLE", "Y"}, {"RETVALUE", ""}, {"SEND", "w"},
    {"SENDSHORT", "b"}, {"SEQBEGIN", "F"}, {"SEQEND", "F"}, {"SEQRECOVER", ""},
    {"SFRAME", "Y"}, {"STATICS", "Yw"}, {"STATICNAME", "bwZ"}, {"SWAPALIAS", ""}, {"TRUE", ""},
    {"ZERO", ""}, {"ONE", ""}, {"MACROLIST", ""}, {"MACROLISTEND", ""}, {"LOCALADDINT", "Li"},
    {"LOCALSETINT", "Li"}, {"LOCALSETSTR", "LX"}, {"ADDINT", "i"}, {"LEFT", "w"},
    {"RIGHT", "w"}, {"SUBSTR", "ww"}, {"PUSHSTRMACRO", "X"}, {"BASELINE", "w"},
    {"LINEOFFSET", "b"}, {"WITHOBJECTSTART", ""}, {"SENDWITH", "w"}, {"SENDWITHSHORT", "b"},
    {"WITHOBJECTEND", ""}, {"FOREACH", ""}, {"ENUMERATE", ""}, {"ENUMEND", ""},
    {"PUSHGLOBAL", "b"}, {"POPGLOBAL", "b"}, {"PUSHGLOBALREF", "b"}, {"ENUMINDEX", ""},
    {"SWITCHCASE", "l"}, {"LIKE", ""}, {"MATCH", ""}, {"PUSHMACROREF", ""}, {"IVARREF", ""},
    {"CLASSSETMODULE", ""}, {"BITAND", ""}, {"BITOR", ""}, {"BITXOR", ""}, {"BITSHIFTR", ""},
    {"BITSHIFTL", ""}, {"LARGEFRAME", "wb"}, {"PUSHWITH", ""}, {"PUSHLONGLONG", "q"},
    {"PUSHSTRHIDDEN", "H"}, {"LOCALSETSTRHIDDEN", "LH"}, {"TRYBEGIN", "F"}, {"TRYEND", "F"},
    {"TRYRECOVER", "F"}, {"FINALLY", ""}, {"ENDFINALLY", ""}, {"LOCALADD", "L"},
    {"ARRAYPUSHREF", ""}, {"ARRAYPOPPLUS", ""}, {"PUSHDATETIME", "ll"}, {"PUSHDATE", "l"},
    {"HASHGEN", "w"}, {"LOCALINC", "L"}, {"LOCALDEC", "L"}, {"LOCALINCPUSH", "L"},
    {"LOCALDECPUSH", "L"},
};

static_assert(sizeof kInfo / sizeof kInfo[0] == PV_P_LAST_PCODE, "one entry per opcode");

}  // namespace

const PcodeInfo* pcodeInfo(uint8_t opcode) {
  return opcode < PV_P_LAST_PCODE ? &kInfo[opcode] : nullptr;
}

}  // namespace pv
