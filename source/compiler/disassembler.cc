// The disassembler.
#include "compiler/disassembler.h"

#include <cstdio>
#include <cstring>

#include "compiler/pcode_info.h"
#include "vm/pcode.h"

namespace pv {

namespace {

class Lister {
 public:
  Lister(const std::vector<uint8_t>& code, const std::vector<ModuleSymbol>* symbols)
      : code_(code), symbols_(symbols) {}

  std::string run() {
    range(0, code_.size(), 0);
    return out_;
  }

 private:
  bool have(size_t n) const { return pos_ + n <= end_; }
  uint64_t le(int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(code_[pos_ + i]) << (8 * i);
    pos_ += static_cast<size_t>(bytes);
    return v;
  }
  int64_t sle(int bytes) {
    uint64_t v = le(bytes);
    uint64_t sign = 1ull << (8 * bytes - 1);
    return bytes == 8 ? static_cast<int64_t>(v) : static_cast<int64_t>((v ^ sign) - sign);
  }
  void text(std::string& line, size_t n) {
    line += " \"";
    for (size_t i = 0; i < n; ++i) {
      unsigned char c = code_[pos_ + i];
      if (i + 1 == n && c == 0) break;  // the terminating NUL
      char buf[8];
      if (c == '"' || c == '\\') {
        line += '\\';
        line += static_cast<char>(c);
      } else if (c >= 32 && c < 127) {
        line += static_cast<char>(c);
      } else {
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        line += buf;
      }
    }
    line += "\"";
    pos_ += n;
  }
  static void appendNumber(std::string& line, int64_t v) {
    line += ' ';
    line += std::to_string(v);
  }
  void symbol(std::string& line, uint64_t index) {
    appendNumber(line, static_cast<int64_t>(index));
    if (symbols_ && index < symbols_->size()) line += " (" + (*symbols_)[index].name + ")";
  }
  void jump(std::string& line, size_t at, int bytes) {
    int64_t d = sle(bytes);
    char buf[48];
    std::snprintf(buf, sizeof buf, " %+lld (-> %04llX)", static_cast<long long>(d),
                  static_cast<unsigned long long>(static_cast<int64_t>(at) + d));
    line += buf;
  }

  // One operand; false when the bytes run out.
  bool operand(char kind, std::string& line, size_t at, size_t& blockEnd) {
    static const char kWidth[] = "b1c1w2i2t3l4q8d8S1Y2L1M2j1J2F3";
    for (const char* k = kWidth; *k; k += 2) {
      if (*k != kind) continue;
      size_t n = static_cast<size_t>(k[1] - '0');
      if (!have(n)) return false;
      switch (kind) {
        case 'c': case 'i': case 'l': case 'q': case 'L': case 'M':
          appendNumber(line, sle(static_cast<int>(n)));
          return true;
        case 'S': case 'Y': symbol(line, le(static_cast<int>(n))); return true;
        case 'j': case 'J': case 'F': jump(line, at, static_cast<int>(n)); return true;
        case 'd': {
          uint64_t bits = le(8);
          double v;
          std::memcpy(&v, &bits, sizeof v);
          char buf[40];
          std::snprintf(buf, sizeof buf, " %.17g", v);
          line += buf;
          return true;
        }
        default: appendNumber(line, static_cast<int64_t>(le(static_cast<int>(n)))); return true;
      }
    }
    switch (kind) {
      case 'T':
      case 'X': {
        int w = kind == 'T' ? 1 : 2;
        if (!have(static_cast<size_t>(w))) return false;
        size_t n = le(w);
        if (!have(n)) return false;
        text(line, n);
        return true;
      }
      case 'Z': {
        size_t n = 0;
        while (pos_ + n < end_ && code_[pos_ + n] != 0) ++n;
        if (pos_ + n >= end_) return false;
        text(line, n + 1);
        return true;
      }
      case 'P': {
        if (!have(sizeof(void*))) return false;
        char buf[32];
        std::snprintf(buf, sizeof buf, " 0x%llX",
                      static_cast<unsigned long long>(le(static_cast<int>(sizeof(void*)))));
        line += buf;
        return true;
      }
      case 'K': {
        if (!have(1)) return false;
        size_t size = le(1);
        line += " size " + std::to_string(size);
        blockEnd = at + size;
        return true;
      }
      case 'B': {
        if (!have(6)) return false;
        size_t size = le(2), params = le(2), n = le(2);
        line += " size " + std::to_string(size) + " params " + std::to_string(params) +
                " detached " + std::to_string(n);
        if (!have(2 * n)) return false;
        for (size_t i = 0; i < n; ++i) line += (i ? "," : " [") + std::to_string(sle(2));
        if (n) line += "]";
        blockEnd = at + size;
        return true;
      }
      case 'H': {
        if (!have(5)) return false;
        le(2);
        le(1);
        size_t n = le(2);
        if (!have(n)) return false;
        pos_ += n;
        line += " <scrambled text>";
        return true;
      }
    }
    return false;
  }

  void range(size_t from, size_t to, int depth) {
    size_t savedEnd = end_;
    end_ = to;
    pos_ = from;
    while (pos_ < end_) {
      size_t at = pos_;
      char addr[32];
      std::snprintf(addr, sizeof addr, "%04zX  ", at);
      std::string line = addr + std::string(static_cast<size_t>(depth) * 2, ' ');
      const PcodeInfo* info = pcodeInfo(code_[pos_++]);
      if (!info) {
        out_ += line + "<unknown opcode " + std::to_string(code_[at]) + ">\n";
        pos_ = end_;
        break;
      }
      line += info->name;
      size_t blockEnd = 0;
      bool ok = true;
      for (const char* k = info->operands; *k && ok; ++k) ok = operand(*k, line, at, blockEnd);
      out_ += line + (ok ? "\n" : " <truncated>\n");
      if (!ok) {
        pos_ = end_;
        break;
      }
      if (blockEnd) {
        if (blockEnd < pos_ || blockEnd > end_) {
          out_ += "      <bad block size>\n";
          pos_ = end_;
          break;
        }
        size_t bodyFrom = pos_;
        range(bodyFrom, blockEnd, depth + 1);
        end_ = to;
        pos_ = blockEnd;
      }
    }
    end_ = savedEnd;
  }

  const std::vector<uint8_t>& code_;
  const std::vector<ModuleSymbol>* symbols_;
  std::string out_;
  size_t pos_ = 0;
  size_t end_ = 0;
};

}  // namespace

std::string disassemble(const std::vector<uint8_t>& code, const std::vector<ModuleSymbol>* symbols) {
  return Lister(code, symbols).run();
}

std::string listModule(const CompiledModule& module) {
  std::string out = "module " + module.name + "\nsymbols:\n";
  for (size_t i = 0; i < module.symbols.size(); ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4zu  0x%04X  ", i, module.symbols[i].scope);
    out += buf + module.symbols[i].name + "\n";
  }
  for (const CompiledProc& p : module.procs) {
    out += "procedure " + p.name + ":\n";
    out += disassemble(p.code, &module.symbols);
  }
  return out;
}

}  // namespace pv
