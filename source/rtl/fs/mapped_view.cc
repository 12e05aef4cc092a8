// MappedView: mapped reads and the fault handler that keeps a cut file from killing the process.
#include "mapped_view.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace pv {
namespace {

// The view a read of this thread is copying from, for the fault handler.
thread_local MappedView* volatile t_reading = nullptr;
struct sigaction g_previous;

uintptr_t PageSize() {
  static const uintptr_t size = uintptr_t(::sysconf(_SC_PAGESIZE));
  return size;
}

void OnBusFault(int sig, siginfo_t* info, void* context);

void InstallFaultHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action = {};
    action.sa_sigaction = OnBusFault;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
  });
}

}  // namespace

// A fault at `address` while `view` was read: when the address lies inside the view, puts zero
// pages over it from the faulting page to its end, marks it torn and answers true.
bool MappedViewFault(MappedView* view, char* address) {
  if (address < view->base_ || address >= view->base_ + view->size_) return false;
  char* page = reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(address) & ~(PageSize() - 1));
  ::mmap(page, size_t(view->base_ + view->size_ - page), PROT_READ,
         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  view->torn_ = true;
  return true;
}

namespace {

void OnBusFault(int sig, siginfo_t* info, void* context) {
  MappedView* view = t_reading;
  if (view && MappedViewFault(view, static_cast<char*>(info->si_addr))) return;
  // Not ours: the previous disposition handles the fault when the instruction runs again.
  if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
    g_previous.sa_sigaction(sig, info, context);
  } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(sig);
  } else {
    ::sigaction(SIGBUS, &g_previous, nullptr);
  }
}

}  // namespace

std::unique_ptr<MappedView> MappedView::Map(int fd, uint64_t size) {
  if (size == 0 || size > uint64_t(SIZE_MAX)) return nullptr;
  void* base = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
  if (base == MAP_FAILED) return nullptr;
  InstallFaultHandler();
  return std::unique_ptr<MappedView>(new MappedView(static_cast<char*>(base), size));
}

MappedView::~MappedView() { ::munmap(base_, size_t(size_)); }

bool MappedView::read(uint64_t offset, void* buf, size_t n) {
  if (torn_ || offset > size_ || n > size_ - offset) return false;
  t_reading = this;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::memcpy(buf, base_ + offset, n);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  t_reading = nullptr;
  return !torn_;
}

}  // namespace pv
