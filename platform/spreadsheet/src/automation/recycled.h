// Memory kept per class for objects made and dropped by the thousand (a range for every Cells()
// call, a font object for every Font): a deleted object's block goes onto its class's free list
// (up to kKeep blocks) and the next new object of the class takes it from there.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace sheet {

template <class T>
class Recycled {
 public:
  static void* operator new(std::size_t size) {
    std::vector<void*>& free = FreeBlocks();
    if (size != sizeof(T) || free.empty()) return ::operator new(size);
    void* block = free.back();
    free.pop_back();
    return block;
  }
  static void operator delete(void* block, std::size_t size) {
    std::vector<void*>& free = FreeBlocks();
    if (size == sizeof(T) && free.size() < kKeep) {
      free.push_back(block);
      return;
    }
    ::operator delete(block);
  }

 private:
  static constexpr std::size_t kKeep = 4096;
  // Never destroyed: objects may still go while the program's statics are destroyed.
  static std::vector<void*>& FreeBlocks() {
    static auto* blocks = new std::vector<void*>();
    return *blocks;
  }
};

}  // namespace sheet
