// The Qt backend: each top-level window is a QWidget showing its backing store; Qt's input
// events become the layer's input; fonts, the clipboard, the beeper and the desktop's text
// editor come from Qt. Without a display (QT_QPA_PLATFORM=offscreen) everything works the same.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdlib>
#include <map>

#include "qt_canvas.h"
#include "qt_fonts.h"
#include "win32/constants.h"
#include "qt_text.h"
#include "win32/text_codec.h"

namespace pv::win32 {

namespace {


UINT virtualKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
    return static_cast<UINT>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    default: return 0;
  }
}

WPARAM mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

UINT buttonMessage(Qt::MouseButton b, bool down) {
  if (b == Qt::RightButton) return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
  if (b == Qt::MiddleButton) return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
  return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
}

class SurfaceWidget : public QWidget {
 public:
  SurfaceWidget(int id, QtCanvas& canvas, EventSink*& sink) : id_(id), canvas_(canvas), sink_(sink) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    canvas_.drawOn(p);
  }
  void mousePressEvent(QMouseEvent* e) override { mouse(buttonMessage(e->button(), true), e); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { mouse(buttonMessage(e->button(), true), e); }
  void mouseReleaseEvent(QMouseEvent* e) override { mouse(buttonMessage(e->button(), false), e); }
  void mouseMoveEvent(QMouseEvent* e) override { mouse(WM_MOUSEMOVE, e); }
  void wheelEvent(QWheelEvent* e) override {
    if (!sink_) return;
    auto delta = static_cast<short>(e->angleDelta().y());
    WPARAM w = MAKEWPARAM(mouseKeys(e->buttons(), e->modifiers()), delta);
    sink_->mouseInput(id_, WM_MOUSEWHEEL, static_cast<int>(e->position().x()), static_cast<int>(e->position().y()), w);
  }
  void keyPressEvent(QKeyEvent* e) override { key(e, true); }
  void keyReleaseEvent(QKeyEvent* e) override { key(e, false); }
  void moveEvent(QMoveEvent*) override {
    if (sink_) {
      QPoint origin = mapToGlobal(QPoint(0, 0));
      sink_->surfaceMoved(id_, POINT{origin.x(), origin.y()});
    }
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (sink_) sink_->closeRequested(id_);
  }

 private:
  void mouse(UINT message, QMouseEvent* e) {
    if (sink_)
      sink_->mouseInput(id_, message, static_cast<int>(e->position().x()), static_cast<int>(e->position().y()),
                        mouseKeys(e->buttons(), e->modifiers()));
  }
  void key(QKeyEvent* e, bool down) {
    UINT vk = virtualKey(e->key());
    if (!sink_ || !vk) return;
    bool alt = (e->modifiers() & Qt::AltModifier) != 0;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM data = 1 | (static_cast<LPARAM>(e->nativeScanCode() & 0xFF) << 16);
    if (alt) data |= LPARAM(1) << 29;
    if (!down) data |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    std::string text = utf8ToAnsi(e->text().toStdString());
    char ch = down && !text.empty() ? text[0] : 0;
    sink_->keyInput(id_, message, vk, data, ch);
  }

  int id_;
  QtCanvas& canvas_;
  EventSink*& sink_;
};

class QtBackend : public Backend {
 public:
  QtBackend() {
    if (!QCoreApplication::instance()) {
      if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
      static int argc = 1;
      static char name[] = "pv";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
    style_.reset(QStyleFactory::create("Windows"));
    if (!style_) style_.reset(QStyleFactory::create("Fusion"));
    scrollBars_ = std::make_unique<ScrollBarImages>(*style_);
    clock_.start();
  }

  // Windows still open here mean the process is ending (exit() from inside a dialog, say),
  // when Qt's platform plugin may already be gone: their widgets are left to the process's end.
  ~QtBackend() override {
    for (auto& entry : surfaces_) static_cast<void>(entry.second.widget.release());
  }

  std::unique_ptr<Canvas> createCanvas(int width, int height) override {
    return std::make_unique<QtCanvas>(width, height, fonts_, *style_, *scrollBars_);
  }

  int createSurface(int width, int height) override {
    int id = next_++;
    Surface& s = surfaces_[id];
    s.canvas = std::make_unique<QtCanvas>(width, height, fonts_, *style_, *scrollBars_);
    s.widget = std::make_unique<SurfaceWidget>(id, *s.canvas, sink_);
    s.widget->resize(std::max(width, 1), std::max(height, 1));
    return id;
  }

  void destroySurface(int id) override { surfaces_.erase(id); }
  Canvas& surfaceCanvas(int id) override { return *surfaces_.at(id).canvas; }

  void setSurfaceGeometry(int id, const RECT& r) override {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    it->second.canvas->resize(r.right - r.left, r.bottom - r.top);
    // The layer decides a window's size; the window manager may only move it.
    QWidget& w = *it->second.widget;
    w.setFixedSize(std::max<int>(1, r.right - r.left), std::max<int>(1, r.bottom - r.top));
    w.setGeometry(r.left, r.top, w.width(), w.height());
  }

  void setSurfaceTitle(int id, const std::string& title) override {
    if (auto it = surfaces_.find(id); it != surfaces_.end()) it->second.widget->setWindowTitle(ansiToQString(title));
  }

  void showSurface(int id, bool show) override {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) return;
    it->second.widget->setVisible(show);
    if (show) {
      it->second.widget->raise();
      it->second.widget->activateWindow();
    }
  }

  void presentSurface(int id) override {
    if (auto it = surfaces_.find(id); it != surfaces_.end()) it->second.widget->update();
  }

  FontMetrics fontMetrics(const LOGFONTA& lf) override {
    const QFontMetrics& fm = fonts_.metrics(lf);
    FontMetrics m;
    m.height = fm.height();
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.internalLeading = std::max(0, fm.height() - fonts_.font(lf).pixelSize());
    m.externalLeading = std::max(0, fm.leading());
    m.aveCharWidth = fm.averageCharWidth();
    m.maxCharWidth = fm.maxWidth();
    return m;
  }

  int textWidth(const LOGFONTA& lf, std::string_view text) override {
    return fonts_.textWidth(lf, text);
  }

  SIZE screenSize() override {
    QScreen* s = QGuiApplication::primaryScreen();
    QSize size = s ? s->size() : QSize(1024, 768);
    return SIZE{size.width(), size.height()};
  }

  uint64_t nowMs() override { return static_cast<uint64_t>(clock_.elapsed()); }
  bool interactive() const override { return true; }

  void attach(EventSink& sink) override { sink_ = &sink; }

  void processEvents(int timeoutMs) override {
    if (timeoutMs == 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
      QTimer wake;
      if (timeoutMs > 0) {
        wake.setSingleShot(true);
        wake.start(timeoutMs);
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
  }

  void setCursorShape(int idc) override {
    Qt::CursorShape shape = idc == IDC_WAIT ? Qt::WaitCursor : idc == IDC_IBEAM ? Qt::IBeamCursor
                          : idc == IDC_CROSS ? Qt::CrossCursor : idc == IDC_HAND ? Qt::PointingHandCursor
                          : idc == IDC_APPSTARTING ? Qt::BusyCursor : Qt::ArrowCursor;
    for (auto& [id, s] : surfaces_) s.widget->setCursor(shape);
  }

  void setClipboardText(const std::string& ansi) override { QGuiApplication::clipboard()->setText(ansiToQString(ansi)); }

  bool clipboardText(std::string& ansi) override {
    QString t = QGuiApplication::clipboard()->text();
    if (t.isEmpty()) return false;
    std::u16string u(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
    ansi = utf16ToAnsi(u);
    return true;
  }

  void setClipboardImage(const Canvas& image) override {
    if (auto* q = dynamic_cast<const QtCanvas*>(&image)) QGuiApplication::clipboard()->setImage(q->image());
  }

  std::unique_ptr<Canvas> clipboardImage() override {
    QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return nullptr;
    auto c = std::make_unique<QtCanvas>(image.width(), image.height(), fonts_, *style_, *scrollBars_);
    c->setImage(image);
    return c;
  }

  void clearClipboard() override { QGuiApplication::clipboard()->clear(); }
  void beep() override { QApplication::beep(); }

  bool openInTextEditor(const std::string& path) override {
    if (std::getenv("PV_NO_DESKTOP")) return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  }

 private:
  struct Surface {
    std::unique_ptr<QtCanvas> canvas;
    std::unique_ptr<SurfaceWidget> widget;
    ~Surface() { widget.reset(); }
  };
  QtFonts fonts_;
  std::unique_ptr<QStyle> style_;
  std::unique_ptr<ScrollBarImages> scrollBars_;
  std::map<int, Surface> surfaces_;
  EventSink* sink_ = nullptr;
  QElapsedTimer clock_;
  int next_ = 1;
};

}  // namespace

std::unique_ptr<Backend> makeQtBackend() { return std::make_unique<QtBackend>(); }

}  // namespace pv::win32
