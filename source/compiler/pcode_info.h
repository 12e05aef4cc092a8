// Names and operand layouts of the opcodes, for the disassembler and for tools that walk
// bytecode. Grep "ORDER PCODE": this table follows the opcode enum.
#pragma once

#include <cstdint>

namespace pv {

// Operand layout letters:
//   b u8   c s8   w u16   i s16   t s24 (jump distance)   l s32   q s64   d f64
//   S sym8   Y sym16   L loc8   M loc16   T text8   X text16   Z cstr   P pointer
//   j s8 jump   J s16 jump   F s24 jump (distances shown with their targets)
//   B PUSHBLOCK header   K PUSHBLOCKSHORT header   H scrambled text (u16 u8 u16 + bytes)
struct PcodeInfo {
  const char* name;
  const char* operands;
};

// Null for a byte outside the opcode range.
const PcodeInfo* pcodeInfo(uint8_t opcode);

}  // namespace pv
