// The UI script runner's steps and its progress through the script.
#include "uiscript_runner.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "uiscript_windows.h"
#include "vm/array.h"
#include "vm/classes.h"
#include "vm/dynsym.h"
#include "vm/start.h"
#include "vm/vm.h"
#include "win32/backend.h"
#include "win32/testing.h"
#include "win32/text_codec.h"
#include "win32/win32.h"

namespace pv::gui::uiscript {

namespace {

struct StepFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void stepFails(const std::string& why) { throw StepFailure(why); }

unsigned long long nowMs() { return win32::backend().nowMs(); }

// Output follows the console's habit: a line break before each line.
void say(const std::string& line) {
  std::fputs(("\n" + line).c_str(), stdout);
  std::fflush(stdout);
}

std::string seconds(double s) {
  std::ostringstream out;
  out << s << " s";
  return out.str();
}

// The window object of a control, through the window table (OWNDFROMHWND); a grip or null.
PV_ITEM controlObject(HWND h) {
  static PvSymbol* lookup = pv_dynsymGet("OWNDFROMHWND")->symbol;
  pv_vmPushSymbol(lookup);
  pv_vmPushNil();
  pv_vmPushLong(static_cast<long long>(reinterpret_cast<uintptr_t>(h)));
  pv_vmDo(1);
  PV_ITEM r = pv_stackReturnItem();
  return PV_IS_OBJECT(r) ? pv_itemNew(r) : nullptr;
}

}  // namespace

Runner::Runner(std::vector<Step> steps) : steps_(std::move(steps)) {}

void Runner::idle() {
  poll();
  if (finished() || failed_ || awake_) return;
  // While steps wait, the loop must not sleep until input: a short wait keeps it turning.
  awake_ = true;
  win32::testing::whenIdle([this] {
    awake_ = false;
    win32::backend().processEvents(10);
  });
}

void Runner::topLevelCreated(HWND h) {
  created_.push_back(Created{h, "", false});
  pending_ = false;
}

void Runner::topLevelDestroyed(HWND h, const std::string& title) {
  for (Created& c : created_)
    if (c.hwnd == h && !c.destroyed) {
      c.destroyed = true;
      c.title = title;
    }
  pending_ = false;
}

void Runner::poll() {
  if (failed_) {  // the program went on reading messages after a failed step
    std::fflush(stdout);
    std::exit(3);
  }
  if (running_) return;
  // A waiting step is looked at again at most once a millisecond (and at once after a top-level
  // window came or went): a program pumping messages in a loop of its own, like an export's
  // progress, reads messages many thousands of times a second.
  if (pending_ && nowMs() - pendingAtMs_ < 1) return;
  // The input of the previous step is handled first: the queue must have emptied.
  MSG pending;
  if (afterInput_ && PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE)) return;
  // Modifiers held over the previous step's key come up once that key is handled, and the next
  // step waits for their release to be handled in turn.
  if (afterInput_ && releaseHeldModifiers()) return;
  afterInput_ = false;
  running_ = true;
  try {
    while (next_ < steps_.size()) {
      const Step& st = steps_[next_];
      if (!started_) {
        if (st.verb != "echo") say("> " + st.source);
        started_ = true;
        startMs_ = nowMs();
      }
      Outcome o = run(st);
      pending_ = o == Outcome::Pending;
      if (pending_) {
        pendingAtMs_ = nowMs();
        break;
      }
      ++next_;
      started_ = false;
      if (o == Outcome::Input) {
        createdAtInput_ = created_.size();
        afterInput_ = true;
        break;
      }
    }
  } catch (const StepFailure& e) {
    fail(steps_[next_], e.what());
  }
  running_ = false;
}

void Runner::fail(const Step& step, const std::string& why) {
  say("uiscript: line " + std::to_string(step.line) + ": " + why);
  failed_ = true;
  pv_vmSetExitCode(3);
  pv_vmRequestQuit();
  PostQuitMessage(3);
}

Runner::Outcome Runner::run(const Step& st) {
  const std::string& v = st.verb;
  if (v == "wait") return waitFor(st);
  if (v == "closed") return closed(st);
  if (v == "done") return done(st);
  if (v == "click") return click(st);
  if (v == "press") return press(st);
  if (v == "key") {
    if (!pressKey(st.words[0])) stepFails("unknown key \"" + st.words[0] + "\"");
    return Outcome::Input;
  }
  if (v == "header" || v == "cell") return gridClick(st);
  if (v == "box") return box(st);
  if (v == "grab") return grab(st);
  if (v == "sleep") return sleep(st);
  say(st.rest);  // echo
  return Outcome::Done;
}

Runner::Outcome Runner::pendingUntil(double secs, const std::string& why) {
  if (static_cast<double>(nowMs() - startMs_) >= secs * 1000.0) stepFails(why + " after " + seconds(secs));
  return Outcome::Pending;
}

HWND Runner::target() const {
  if (!target_) stepFails("no target window: a wait step comes first");
  if (!IsWindow(target_)) stepFails("the target window has closed");
  return target_;
}

HWND Runner::control(const Step& st) const {
  int id = std::atoi(st.words[0].c_str());
  HWND h = GetDlgItem(target(), id);
  if (!h) stepFails("no control " + std::to_string(id) + " in \"" + windowTitle(target_) + "\"");
  return h;
}

Runner::Outcome Runner::waitFor(const Step& st) {
  std::string text;
  double secs;
  textAndSeconds(st, text, secs, 10);
  if (HWND h = findVisibleTopLevel(text)) {
    target_ = h;
    return Outcome::Done;
  }
  return pendingUntil(secs, "no window titled \"" + text + "\"");
}

Runner::Outcome Runner::closed(const Step& st) {
  std::string text;
  double secs;
  textAndSeconds(st, text, secs, 10);
  if (!anyTopLevelTitled(text)) return Outcome::Done;
  return pendingUntil(secs, "a window titled \"" + text + "\" is still open");
}

Runner::Outcome Runner::done(const Step& st) {
  std::string text;
  double secs;
  textAndSeconds(st, text, secs, 10);
  for (size_t i = createdAtInput_; i < created_.size(); ++i) {
    const Created& c = created_[i];
    if (c.destroyed && c.title.find(text) != std::string::npos) return Outcome::Done;
  }
  return pendingUntil(secs, "no window titled \"" + text + "\" opened and closed");
}

Runner::Outcome Runner::click(const Step& st) {
  clickCentre(control(st));
  return Outcome::Input;
}

Runner::Outcome Runner::press(const Step& st) {
  std::string caption;
  for (const std::string& w : st.words) caption += (caption.empty() ? "" : " ") + w;
  HWND b = findButton(target(), caption);
  if (!b) stepFails("no button \"" + caption + "\" in \"" + windowTitle(target_) + "\"");
  clickCentre(b);
  return Outcome::Input;
}

// header ID COLUMN / cell ID ROW COLUMN: the grid object says where to click.
Runner::Outcome Runner::gridClick(const Step& st) {
  HWND h = control(st);
  bool header = st.verb == "header";
  PV_ITEM grid = controlObject(h);
  const char* message = header ? "UIHEADERPOINT" : "UICELLPOINT";
  if (!grid || !pv_objHasMsg(grid, message)) {
    if (grid) pv_itemRelease(grid);
    stepFails("control " + st.words[0] + " is not a grid");
  }
  PvItem a{}, b{};
  pv_itemPutNI(&a, std::atoi(st.words[1].c_str()));
  PV_ITEM r = header ? pv_objSendMsg(grid, message, 1, &a)
                     : (pv_itemPutNI(&b, std::atoi(st.words[2].c_str())), pv_objSendMsg(grid, message, 2, &a, &b));
  bool found = PV_IS_ARRAY(r) && pv_arrayLen(r) >= 2;
  int x = found ? pv_arrayGetNI(r, 1) : 0, y = found ? pv_arrayGetNI(r, 2) : 0;
  pv_itemRelease(grid);
  if (!found) stepFails(header ? "grid " + st.words[0] + " has no column " + st.words[1]
                               : "grid " + st.words[0] + " has no cell " + st.words[1] + ", " + st.words[2]);
  clickAt(h, x, y);
  return Outcome::Input;
}

Runner::Outcome Runner::box(const Step& st) {
  for (const auto& b : win32::automation::openMessageBoxes()) {
    bool answered = false;
    for (HWND h : answeredBoxes_) answered = answered || h == b.hwnd;
    if (answered) continue;
    say(boxLine(b));
    HWND button = findButton(b.hwnd, st.words[0]);
    if (!button) stepFails("the message box has no button \"" + st.words[0] + "\"");
    answeredBoxes_.push_back(b.hwnd);
    clickCentre(button);
    return Outcome::Input;
  }
  return pendingUntil(10, "no message box");
}

// The picture is taken once the program has handled what is queued (its paints included), or
// after 5 s of a queue that never empties.
Runner::Outcome Runner::grab(const Step& st) {
  MSG pending;
  if (PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE) && static_cast<double>(nowMs() - startMs_) < 5000)
    return Outcome::Pending;
  if (!win32::testing::grabWindow(target(), st.words[0])) stepFails("cannot write " + st.words[0]);
  return Outcome::Done;
}

Runner::Outcome Runner::sleep(const Step& st) {
  double ms = std::atof(st.words[0].c_str());
  return static_cast<double>(nowMs() - startMs_) >= ms ? Outcome::Done : Outcome::Pending;
}

std::unique_ptr<Runner> loadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "uiscript: cannot read %s\n", path.c_str());
    return nullptr;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<Step> steps;
  std::string error;
  // Scripts are UTF-8 or the program's ANSI code page: bytes that are not UTF-8 stay as they are.
  if (!parseScript(pv::win32::utf8ToAnsi(text.str()), steps, error)) {
    std::fprintf(stderr, "uiscript: %s: %s\n", path.c_str(), error.c_str());
    return nullptr;
  }
  return std::make_unique<Runner>(std::move(steps));
}

}  // namespace pv::gui::uiscript
