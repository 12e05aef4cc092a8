// The assembler: collects a procedure's (or code block's) instructions with symbolic jump
// targets and lays them out, giving every jump the shortest width its distance fits.
//
// Jump widths are chosen by relaxation: every jump starts at its 1-byte form; the layout is
// computed; each jump whose distance does not fit grows; repeat until nothing grows. Widths only
// grow, so this ends. A code block is assembled on its own first (its jumps stay inside it), and
// then is a fixed run of bytes to the enclosing code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vm/pcode.h"

namespace pv {

enum class JumpKind : uint8_t { Always, IfFalse, IfTrue };

class Assembler {
 public:
  int newLabel();
  void place(int label);

  // Starts a plain instruction; operands follow with the put* calls.
  void op(Pcode opcode);
  void putU8(uint8_t v) { current().push_back(v); }
  void putU16(uint16_t v);
  void putU32(uint32_t v);
  void putU64(uint64_t v);
  void putF64(double v);
  void putCStr(const std::string& s);  // bytes and a NUL
  void putBytes(const std::string& s);

  // A conditional or plain jump to `label`, relaxed to the near/normal/far form.
  void jump(JumpKind kind, int label);
  // An opcode with a fixed s24 distance to `label` (-1: distance 0).
  void jump24(Pcode opcode, int label);
  // A code block: its own instructions, parameter count and detached locals (as numbered in
  // the enclosing code). Emitted as PUSHBLOCKSHORT when it has neither and is small; in macro
  // code always as MPUSHBLOCK.
  void block(Assembler body, uint16_t params, std::vector<int16_t> detached, bool macro = false);

  // Moves all of `prologue`'s instructions in front of this one's.
  void prepend(Assembler prologue);

  size_t size() const { return instrs_.size(); }
  // Lays the code out. On failure (too large for the jump or block encodings) returns false with
  // a message in `error`.
  bool assemble(std::vector<uint8_t>& out, std::string& error) const;

 private:
  enum class Kind : uint8_t { Plain, Label, Jump, Jump24, Block };
  struct Instr {
    Kind kind = Kind::Plain;
    std::vector<uint8_t> bytes;  // Plain: opcode and operands; Jump24: the opcode
    int label = -1;
    JumpKind jump = JumpKind::Always;
    std::shared_ptr<Assembler> body;
    uint16_t params = 0;
    std::vector<int16_t> detached;
    bool macro = false;
  };
  std::vector<uint8_t>& current();
  bool layoutBlock(const Instr& in, std::vector<uint8_t>& out, std::string& error) const;

  std::vector<Instr> instrs_;
  int labels_ = 0;
};

}  // namespace pv
