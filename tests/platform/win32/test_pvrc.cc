// The resource compiler: the application's dialog script read into the template Win32 builds
// from it, defaults of the control statements, and clear errors for bad scripts.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "rc_emit.h"
#include "rc_parser.h"
#include "win32/constants.h"

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Pvrc, ReadsTheSamplesDialog) {
  std::vector<pv::rc::DialogResource> out;
  std::string error;
  ASSERT_TRUE(pv::rc::parseScript(slurp(PV_TEST_DATA "/samples.rc"), PV_TEST_DATA, out, error)) << error;
  ASSERT_EQ(out.size(), 1u);
  const auto& r = out[0];
  EXPECT_EQ(r.name, "SAMPLES");
  EXPECT_EQ(r.language, 1031);
  const auto& d = r.dialog;
  EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE | DS_SETFONT));
  EXPECT_EQ(d.x, 6);
  EXPECT_EQ(d.y, -8);
  EXPECT_EQ(d.cx, 401);
  EXPECT_EQ(d.cy, 319);
  EXPECT_EQ(d.pointSize, 10);
  EXPECT_EQ(d.face, "MS Sans Serif");
  ASSERT_EQ(d.items.size(), 13u);
  EXPECT_EQ(d.items[0].id, 110u) << "from the included header";
  EXPECT_EQ(d.items[0].className, "TXBrowse");
  EXPECT_EQ(d.items[0].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL));
  EXPECT_EQ(d.items[5].title, "&Rechnungs-\xDC" "bersicht") << "UTF-8 script text becomes code page 1252";
  EXPECT_EQ(d.items[5].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON));
  EXPECT_EQ(d.items[9].id, 0xFFFFu);
  EXPECT_EQ(d.items[9].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT));
  // The bytes read back as the same dialog, with the predefined classes as ordinals.
  std::vector<unsigned char> bytes = pv::win32::writeDialogTemplate(d);
  pv::win32::DialogTemplate back;
  ASSERT_TRUE(pv::win32::parseDialogTemplate(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.items[2].classOrdinal, 0x80);
  EXPECT_EQ(back.items[12].title, "Normal - Browser - Test  ( noch in Arbeit  !!! )");
  std::string source = pv::rc::emitSource(out, "samples.rc");
  EXPECT_NE(source.find("registerDialogResource(\"SAMPLES\", 0, 1031, kDialog0"), std::string::npos);
}

TEST(Pvrc, ControlStatementsAndStyleExpressions) {
  std::vector<pv::rc::DialogResource> out;
  std::string error;
  const char* script =
      "#define IDD_X 300\n"
      "IDD_X DIALOGEX 0, 0, 100, 50\n"
      "CAPTION \"T\"\n"
      "FONT 8, \"MS Shell Dlg\", 700, 1, 0\n"
      "{\n"
      "  DEFPUSHBUTTON \"OK\", IDOK, 5, 5, 40, 14, NOT WS_TABSTOP\n"
      "  CTEXT \"say \"\"hi\"\"\", -1, 5, 25, 40, 8, SS_NOPREFIX\n"
      "  LISTBOX 7, 50, 5, 45, 40, LBS_SORT | WS_VSCROLL, WS_EX_CLIENTEDGE\n"
      "}\n";
  ASSERT_TRUE(pv::rc::parseScript(script, ".", out, error)) << error;
  const auto& d = out[0].dialog;
  EXPECT_TRUE(d.extended);
  EXPECT_EQ(out[0].id, 300);
  EXPECT_EQ(d.weight, 700);
  EXPECT_EQ(d.italic, 1);
  EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(d.items[0].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON));
  EXPECT_EQ(d.items[1].title, "say \"hi\"");
  EXPECT_EQ(d.items[1].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER | SS_NOPREFIX));
  EXPECT_EQ(d.items[1].id, 0xFFFFFFFFu) << "extended items keep 32-bit ids";
  EXPECT_EQ(d.items[2].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_BORDER | LBS_SORT | WS_VSCROLL));
  EXPECT_EQ(d.items[2].exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
}

TEST(Pvrc, BadScriptsAreReportedWithTheirLine) {
  struct Case {
    const char* script;
    const char* message;
  } cases[] = {
      {"X DIALOG 0, 0, 10\nBEGIN\nEND\n", "line 2: ',' expected"},
      {"X DIALOG 0, 0, 10, 10\nSTYLE WS_NOPE\nBEGIN\nEND\n", "line 2: unknown name WS_NOPE"},
      {"X DIALOG 0, 0, 10, 10\nBEGIN\n  BUTTON \"a\", 1\nEND\n", "line 3: control statement expected, found 'BUTTON'"},
      {"X DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"open, 1, 0, 0, 1, 1\nEND\n", "line 3: text not closed"},
      {"X DIALOG 0, 0, 10, 10\nBEGIN\n", "END expected"},
      {"IDI_APP ICON \"app.ico\"\n", "line 1: only DIALOG and DIALOGEX resources are supported"},
  };
  for (const Case& c : cases) {
    std::vector<pv::rc::DialogResource> out;
    std::string error;
    EXPECT_FALSE(pv::rc::parseScript(c.script, ".", out, error)) << c.script;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

}  // namespace
