// The UI script runner: runs a script's steps against the program's own windows from the
// program's message loops (every GetMessage, PeekMessage and idle wait of any loop, nested
// modal loops and SYSREFRESH included). Input steps post their input and return; the next
// step runs when the program next reads messages. Every step is echoed on stdout; a step that
// cannot be done prints why with its line number and ends the program with exit code 3.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uiscript_parse.h"
#include "win32/types.h"

namespace pv::gui::uiscript {

class Runner {
 public:
  explicit Runner(std::vector<Step> steps);

  // Called by the library's loop observer.
  void messagesRead() { poll(); }
  void idle();
  void topLevelCreated(HWND hwnd);
  void topLevelDestroyed(HWND hwnd, const std::string& title);

  bool finished() const { return next_ >= steps_.size(); }

 private:
  enum class Outcome { Done, Input, Pending };

  // Every top-level window the program created, in order.
  struct Created {
    HWND hwnd;
    std::string title;  // the final title once destroyed
    bool destroyed = false;
  };

  void poll();
  Outcome run(const Step& step);
  Outcome waitFor(const Step& step);
  Outcome closed(const Step& step);
  Outcome done(const Step& step);
  Outcome click(const Step& step);
  Outcome press(const Step& step);
  Outcome gridClick(const Step& step);
  Outcome box(const Step& step);
  Outcome grab(const Step& step);
  Outcome sleep(const Step& step);
  // Pending until `seconds` have passed since the step began, then the step fails with `why`.
  Outcome pendingUntil(double seconds, const std::string& why);
  HWND target() const;
  HWND control(const Step& step) const;
  void fail(const Step& step, const std::string& why);

  std::vector<Step> steps_;
  size_t next_ = 0;
  bool started_ = false;        // the current step has been echoed and timed
  unsigned long long startMs_ = 0;
  HWND target_ = nullptr;
  std::vector<Created> created_;
  size_t createdAtInput_ = 0;   // windows created before the previous input step
  std::vector<HWND> answeredBoxes_;
  bool afterInput_ = false;     // the last step posted input not yet taken from the queue
  bool failed_ = false;
  bool awake_ = false;          // an idle action keeps the loop turning
  bool running_ = false;
  bool pending_ = false;        // the current step was waiting when last looked at
  unsigned long long pendingAtMs_ = 0;
};

// Reads the script file into a runner; null (with a message on stderr) when the file cannot
// be read or a line is wrong.
std::unique_ptr<Runner> loadScript(const std::string& path);

}  // namespace pv::gui::uiscript
