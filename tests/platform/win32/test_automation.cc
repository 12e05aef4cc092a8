// The observer of message loops and top-level windows, and the list of open message boxes.
#include "test_support.h"
#include "win32/automation.h"

namespace pv::win32::test {
namespace {

struct Counting : automation::Observer {
  int reads = 0, idles = 0;
  std::vector<HWND> created;
  std::vector<std::string> destroyed;
  std::vector<automation::MessageBoxInfo> boxesSeen;
  void messagesRead() override {
    ++reads;
    if (boxesSeen.empty()) boxesSeen = automation::openMessageBoxes();
  }
  void idle() override { ++idles; }
  void topLevelCreated(HWND h) override { created.push_back(h); }
  void topLevelDestroyed(HWND, const std::string& title) override { destroyed.push_back(title); }
};

class Automation : public LayerTest {
 protected:
  void TearDown() override {
    automation::setObserver(nullptr);
    LayerTest::TearDown();
  }
  Counting observer;
};

TEST_F(Automation, ToldOfReadsAndTopLevelWindows) {
  automation::setObserver(&observer);
  HWND h = topLevel("first");
  HWND c = child(h, 5, 0, 0, 10, 10);
  ASSERT_TRUE(c);
  ASSERT_EQ(observer.created.size(), 1u) << "child windows are not reported";
  EXPECT_EQ(observer.created[0], h);
  MSG m;
  PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_EQ(observer.reads, 1);
  SetWindowTextA(h, "renamed");
  DestroyWindow(h);
  ASSERT_EQ(observer.destroyed.size(), 1u);
  EXPECT_EQ(observer.destroyed[0], "renamed");
}

TEST_F(Automation, IdleBeforeWaitingAndBoxesListedWhileOpen) {
  automation::setObserver(&observer);
  pv::win32::testing::whenIdle([] {
    auto boxes = automation::openMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    PostMessageA(boxes[0].hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Body text", "Caption", MB_OK), IDOK);
  ASSERT_EQ(observer.boxesSeen.size(), 1u);
  EXPECT_EQ(observer.boxesSeen[0].caption, "Caption");
  EXPECT_EQ(observer.boxesSeen[0].text, "Body text");
  EXPECT_TRUE(automation::openMessageBoxes().empty());
  pv::win32::testing::runUntilIdle();
  MSG m;
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), -1) << "nothing can arrive on the recording backend";
  EXPECT_GE(observer.idles, 1);
}

TEST_F(Automation, AnObserverThatReadsMessagesIsNotToldAgain) {
  struct Reader : automation::Observer {
    int depth = 0, most = 0;
    void messagesRead() override {
      ++depth;
      most = std::max(most, depth);
      MSG m;
      PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
      --depth;
    }
  } reader;
  automation::setObserver(&reader);
  MSG m;
  PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_EQ(reader.most, 1);
}

}  // namespace
}  // namespace pv::win32::test
