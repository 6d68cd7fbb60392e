// The script language of rowtint-sim and the JSON that `state` prints.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

std::string RunScript(simcli::SimSession& session, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  session.RunScript(in, out);
  return out.str();
}

class SimScriptTest : public SimTest {};
class FreshScriptTest : public SimSessionTest {};

TEST_F(FreshScriptTest, AScriptStartsTheHostUnlessItFirstPreparesStoreOrBars) {
  RunScript(session_, "setting RGB RGB-bc 255\nbar Extra\n");
  EXPECT_EQ(session_.AddIn(), nullptr) << "nothing started yet";
  RunScript(session_, "select B2\n");
  ASSERT_NE(session_.AddIn(), nullptr);
  EXPECT_EQ(S().HighlightColor, 255);
  EXPECT_NE(session_.Bars().Find("Extra"), nullptr);
}

TEST_F(FreshScriptTest, StateListsTheAddInsBarsFormsAndStore) {
  const std::string json = RunScript(session_,
                                     "setting HIS his_color1 65280\nclick About\nform click Label3\nform click Label7\n"
                                     "state\n");
  for (const char* part :
       {"\"settings\":{\"HIS/his_color1\":\"65280\"}", "\"history\":[65280,-2147483633,-2147483633]",
        "{\"caption\":\"\",\"tooltip\":\"Switch\",\"faceId\":279,\"style\":1,\"beginGroup\":true,\"enabled\":true}",
        "\"kind\":\"popup\",\"visible\":true,\"protection\":0,\"beginGroup\":true,\"last\":true",
        "\"fm_About\":{\"visible\":false", "\"Image2\":{\"BackColor\":-2147483626,\"Visible\":false}",
        "\"Opt_primi\":{\"BackColor\":-2147483626,\"Visible\":true,\"Value\":true}",
        "\"launched\":[\"mailto:support@rowtint.org?subject=Rowtint Support\"]", "\"messages\":[]"})
    EXPECT_NE(json.find(part), std::string::npos) << part;
}

TEST_F(SimScriptTest, StartsConnectedAsAtAHostStart) {
  const std::string json = RunScript(session_, "state\n");
  for (const char* part :
       {"\"HighlightOff\":false", "\"RopMode\":0", "\"HighlightColor\":14600886", "\"HistoryColor1\":-2147483633",
        "\"HistoryColor3\":-2147483633", "\"timer\":{\"running\":true,\"interval\":200", "\"activeCell\":\"$A$1\"",
        "\"selection\":\"$A$1\"", "\"ColumnCheckArmed\":true", "\"RedrawWholeGrid\":false"})
    EXPECT_NE(json.find(part), std::string::npos) << part;
  EXPECT_NE(S().ExcelMainWnd, 0u);
  EXPECT_NE(json.find("\"ExcelMainWnd\":" + std::to_string(S().ExcelMainWnd)), std::string::npos);
}

TEST_F(SimScriptTest, StateReportsWhatHappenedSinceThePreviousState) {
  const std::string json = RunScript(session_, "select C5:D5 # two columns\nstate\nstate\n");
  std::istringstream lines(json);
  std::string first, second;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_NE(first.find("\"selection\":\"$C$5:$D$5\""), std::string::npos);
  EXPECT_NE(first.find("\"drawn\":[{"), std::string::npos);
  EXPECT_NE(second.find("\"drawn\":[],"), std::string::npos);
  EXPECT_NE(second.find("\"invalidated\":[],"), std::string::npos);
  EXPECT_NE(second.find("\"calls\":0"), std::string::npos);
}

TEST_F(SimScriptTest, CommandsChangeTheHost) {
  RunScript(session_,
            "screen 1024 600\ngrid 10 40 1000 590\nzoom 150\nversion 15.0\nrow-height 3 30\ncol-width 2 21\n"
            "set B3 hello world\nscroll 2 2\nselect-object\n");
  auto& sheet = Host().Sheet();
  EXPECT_EQ(Desktop().Screen().Width(), 1024);
  EXPECT_EQ(Host().GridRect(), (platform::Rect{10, 40, 1000, 590}));
  EXPECT_EQ(sheet.zoom, 150);
  EXPECT_EQ(sheet.version, "15.0");
  EXPECT_EQ(sheet.RowHeight(3), 30);
  EXPECT_EQ(sheet.ColumnWidth(2), 21);
  ASSERT_NE(sheet.Text({3, 2}), nullptr);
  EXPECT_EQ(*sheet.Text({3, 2}), "hello world");
  EXPECT_EQ(sheet.scroll, (sim::CellRef{2, 2}));
  EXPECT_TRUE(sheet.objectSelected);
}

TEST_F(SimScriptTest, BadLinesAreReportedWithTheirNumber) {
  for (const char* bad : {"select\n", "select Q0\n", "zoom many\n", "frobnicate\n", "gate maybe\n", "click Nothing\n",
                          "form click cb_ok\n", "load\n"}) {
    try {
      RunScript(session_, std::string("state\n") + bad);
      ADD_FAILURE() << bad;
    } catch (const simcli::ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("line 2:", 0), 0u) << e.what();
    }
  }
}

TEST_F(SimScriptTest, SnapshotWritesAPngOfTheScreen) {
  RunScript(session_, "select C5\nsnapshot band.png\n");
  std::ifstream png(OutDir() + "/band.png", std::ios::binary);
  ASSERT_TRUE(png);
  unsigned char head[24];
  png.read(reinterpret_cast<char*>(head), sizeof head);
  EXPECT_EQ(head[1], 'P');
  EXPECT_EQ(head[2], 'N');
  EXPECT_EQ(head[3], 'G');
  const int width = head[16] << 24 | head[17] << 16 | head[18] << 8 | head[19];
  const int height = head[20] << 24 | head[21] << 16 | head[22] << 8 | head[23];
  EXPECT_EQ(width, 1280);
  EXPECT_EQ(height, 800);
}

}  // namespace
}  // namespace rowtint::testing
