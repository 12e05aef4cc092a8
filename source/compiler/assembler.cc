// The assembler.
#include "compiler/assembler.h"

#include <cstring>

namespace pv {

namespace {

const Pcode kJumps[3][3] = {
    {PV_P_JUMPNEAR, PV_P_JUMP, PV_P_JUMPFAR},
    {PV_P_JUMPFALSENEAR, PV_P_JUMPFALSE, PV_P_JUMPFALSEFAR},
    {PV_P_JUMPTRUENEAR, PV_P_JUMPTRUE, PV_P_JUMPTRUEFAR},
};

int widthFor(int64_t dist) {
  if (dist >= -128 && dist <= 127) return 1;
  if (dist >= -32768 && dist <= 32767) return 2;
  if (dist >= -(1 << 23) && dist < (1 << 23)) return 3;
  return 4;
}

void putLE(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int Assembler::newLabel() { return labels_++; }

void Assembler::place(int label) {
  Instr in;
  in.kind = Kind::Label;
  in.label = label;
  instrs_.push_back(std::move(in));
}

void Assembler::op(Pcode opcode) {
  Instr in;
  in.bytes.push_back(opcode);
  instrs_.push_back(std::move(in));
}

std::vector<uint8_t>& Assembler::current() { return instrs_.back().bytes; }

void Assembler::putU16(uint16_t v) { putLE(current(), v, 2); }
void Assembler::putU32(uint32_t v) { putLE(current(), v, 4); }
void Assembler::putU64(uint64_t v) { putLE(current(), v, 8); }

void Assembler::putF64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  putU64(bits);
}

void Assembler::putCStr(const std::string& s) {
  putBytes(s);
  putU8(0);
}

void Assembler::putBytes(const std::string& s) {
  current().insert(current().end(), s.begin(), s.end());
}

void Assembler::jump(JumpKind kind, int label) {
  Instr in;
  in.kind = Kind::Jump;
  in.jump = kind;
  in.label = label;
  instrs_.push_back(std::move(in));
}

void Assembler::jump24(Pcode opcode, int label) {
  Instr in;
  in.kind = Kind::Jump24;
  in.bytes.push_back(opcode);
  in.label = label;
  instrs_.push_back(std::move(in));
}

void Assembler::block(Assembler body, uint16_t params, std::vector<int16_t> detached,
                      bool macro) {
  Instr in;
  in.macro = macro;
  in.kind = Kind::Block;
  in.body = std::make_shared<Assembler>(std::move(body));
  in.params = params;
  in.detached = std::move(detached);
  instrs_.push_back(std::move(in));
}

void Assembler::prepend(Assembler prologue) {
  // Labels of the prologue are renumbered after ours.
  for (Instr& in : prologue.instrs_)
    if (in.kind == Kind::Label || in.kind == Kind::Jump || (in.kind == Kind::Jump24 && in.label >= 0))
      in.label += labels_;
  labels_ += prologue.labels_;
  instrs_.insert(instrs_.begin(), std::make_move_iterator(prologue.instrs_.begin()),
                 std::make_move_iterator(prologue.instrs_.end()));
}

bool Assembler::layoutBlock(const Instr& in, std::vector<uint8_t>& out, std::string& error) const {
  std::vector<uint8_t> code;
  if (!in.body->assemble(code, error)) return false;
  if (!in.macro && in.params == 0 && in.detached.empty() && code.size() + 2 <= 255) {
    out.push_back(PV_P_PUSHBLOCKSHORT);
    out.push_back(static_cast<uint8_t>(code.size() + 2));
  } else {
    size_t size = 7 + 2 * in.detached.size() + code.size();
    if (size > 0xFFFF || in.detached.size() > 0xFFFF) {
      error = "code block too large";
      return false;
    }
    out.push_back(in.macro ? PV_P_MPUSHBLOCK : PV_P_PUSHBLOCK);
    putLE(out, size, 2);
    putLE(out, in.params, 2);
    putLE(out, in.detached.size(), 2);
    for (int16_t local : in.detached) putLE(out, static_cast<uint16_t>(local), 2);
  }
  out.insert(out.end(), code.begin(), code.end());
  return true;
}

bool Assembler::assemble(std::vector<uint8_t>& out, std::string& error) const {
  // Fixed bytes of every instruction (blocks laid out first), widths of the relaxable jumps.
  std::vector<std::vector<uint8_t>> fixed(instrs_.size());
  std::vector<int> width(instrs_.size(), 0);
  std::vector<int64_t> labelAt(static_cast<size_t>(labels_), -1);
  for (size_t i = 0; i < instrs_.size(); ++i) {
    const Instr& in = instrs_[i];
    if (in.kind == Kind::Block && !layoutBlock(in, fixed[i], error)) return false;
    if (in.kind == Kind::Plain) fixed[i] = in.bytes;
    if (in.kind == Kind::Jump) width[i] = 1;
    if (in.kind == Kind::Jump24) width[i] = 3;
  }
  std::vector<int64_t> addr(instrs_.size() + 1, 0);
  for (bool grew = true; grew;) {
    grew = false;
    int64_t pc = 0;
    for (size_t i = 0; i < instrs_.size(); ++i) {
      addr[i] = pc;
      if (instrs_[i].kind == Kind::Label) labelAt[static_cast<size_t>(instrs_[i].label)] = pc;
      pc += static_cast<int64_t>(fixed[i].size()) + (width[i] ? 1 + width[i] : 0);
    }
    addr[instrs_.size()] = pc;
    for (size_t i = 0; i < instrs_.size(); ++i) {
      if (instrs_[i].kind != Kind::Jump) continue;
      int64_t target = labelAt[static_cast<size_t>(instrs_[i].label)];
      int need = widthFor(target - addr[i]);
      if (need > 3) {
        error = "procedure too large for a jump";
        return false;
      }
      if (need > width[i]) {
        width[i] = need;
        grew = true;
      }
    }
  }
  for (size_t i = 0; i < instrs_.size(); ++i) {
    const Instr& in = instrs_[i];
    if (in.kind == Kind::Jump || in.kind == Kind::Jump24) {
      int64_t dist = 0;
      if (in.label >= 0) {
        int64_t target = labelAt[static_cast<size_t>(in.label)];
        if (target < 0) {
          error = "internal error: jump to a label never placed";
          return false;
        }
        dist = target - addr[i];
      }
      if (in.kind == Kind::Jump24 && widthFor(dist) > 3) {
        error = "procedure too large for a jump";
        return false;
      }
      out.push_back(in.kind == Kind::Jump
                        ? static_cast<uint8_t>(kJumps[static_cast<int>(in.jump)][width[i] - 1])
                        : in.bytes[0]);
      putLE(out, static_cast<uint64_t>(dist), width[i]);
    } else {
      out.insert(out.end(), fixed[i].begin(), fixed[i].end());
    }
  }
  return true;
}

}  // namespace pv
