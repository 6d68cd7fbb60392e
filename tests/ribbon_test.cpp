// The add-in's group on Office's ribbon in the simulated host: its XML by
// the host's version, its controls following the switch, the colours and
// the gate, and each of its commands giving what its toolbar or menu
// counterpart gives.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "addin/ribbon_xml.h"
#include "platform/sim/system_colors.h"
#include "sim_ribbon.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class RibbonTest : public SimTest {
 protected:
  const sim::RibbonModel& Ribbon() { return session_.RibbonShown(); }
  const sim::RibbonControl& Control(const std::string& id) {
    for (const auto& c : Ribbon().Controls())
      if (c.id == id) return c;
    throw std::invalid_argument("no ribbon control " + id);
  }
  // The history as the colour menu shows it: each entry's swatch in its
  // colour, enabled only with a colour in it.
  void ExpectHistoryShown(const std::string& where) {
    const platform::Color history[3] = {S().HistoryColor1, S().HistoryColor2, S().HistoryColor3};
    for (int i = 0; i < 3; ++i) {
      const auto& entry = Control(addin::kRibbonHistory[i]);
      EXPECT_EQ(entry.swatch, static_cast<platform::Color>(sim::ResolveColor(history[i]))) << where << " " << i;
      EXPECT_EQ(entry.enabled, history[i] != engine::kEmptySwatchColor) << where << " " << i;
    }
  }
};

// Records what the add-in asks Office to draw again.
class RecordingRibbon : public platform::RibbonUI {
 public:
  void Invalidate() override { asked.insert("*"); }
  void InvalidateControl(const std::string& id) override { asked.insert(id); }
  std::set<std::string> asked;
};

TEST_F(RibbonTest, EachVersionGetsItsSchemaTheIdsAreUniqueAndEveryCallbackResolves) {
  struct Case {
    const char* version;
    const char* xmlNamespace;  // null: no ribbon
  };
  const Case cases[] = {{"11.0", nullptr},
                        {"12.0", addin::kRibbonNamespace2006},
                        {"14.0", addin::kRibbonNamespace2009},
                        {"16.0", addin::kRibbonNamespace2009}};
  for (const Case& c : cases) {
    Run("start");
    Run(std::string("version ") + c.version);
    Run({"unload", "load"});
    ASSERT_EQ(Ribbon().Loaded(), c.xmlNamespace != nullptr) << c.version;
    if (!c.xmlNamespace) continue;
    EXPECT_EQ(Ribbon().Namespace(), c.xmlNamespace) << c.version;
    EXPECT_TRUE(Ribbon().Unresolved().empty()) << c.version;
    std::set<std::string> ids;
    for (const auto& control : Ribbon().Controls()) ids.insert(control.id);
    EXPECT_EQ(ids.size(), Ribbon().Controls().size()) << c.version;
    EXPECT_EQ(ids.size(), 14u) << c.version;
  }
  // Only Excel's workbook ribbon gets the group.
  EXPECT_EQ(session_.AddIn()->GetCustomUI("Microsoft.Word.Document"), "");
  EXPECT_THROW(simcli::ParseRibbonXml("<customUI><ribbon>"), std::runtime_error);
}

// Excel's own key tips at the top level of the Home tab (Excel 2016 to
// Microsoft 365); Office numbers controls without one Y1, Y2, and so on.
constexpr const char* kExcelHomeKeyTips[] = {"V", "X", "C", "FP", "FO", "FF", "FS", "FG", "FK", "FN", "1",  "2",
                                             "3", "B", "H", "FC", "AT", "AM", "AB", "FQ", "AL", "AC", "AR", "5",
                                             "6", "W", "M", "FA", "N",  "AN", "P",  "K",  "0",  "9",  "FM", "L",
                                             "T", "J", "I", "D",  "O",  "U",  "FI", "E",  "S",  "FD", "Y1", "Y2"};

// A key tip reaches the add-in only when no tip of Excel's is the same, or
// begins the add-in's, or is begun by it; inside a menu the tips are the menu's own.
TEST_F(RibbonTest, TheGroupsKeyTipsLeaveExcelsAlone) {
  for (const char* xmlNamespace : {addin::kRibbonNamespace2006, addin::kRibbonNamespace2009}) {
    std::string xml = addin::RibbonXml(xmlNamespace);
    // The menu's items keep tips of their own, shown only once the menu is open.
    for (std::size_t open = xml.find("<menu"); open != std::string::npos; open = xml.find("<menu", open + 1)) {
      const std::size_t items = xml.find('>', open) + 1, close = xml.find("</menu>", items);
      xml.erase(items, close - items);
    }
    std::vector<std::string> ours;
    const std::regex keytip("keytip=\"([^\"]*)\"");
    for (std::sregex_iterator it(xml.begin(), xml.end(), keytip), end; it != end; ++it) ours.push_back((*it)[1]);
    ASSERT_EQ(ours.size(), 7u) << "the group and its six controls";
    for (const std::string& tip : ours) {
      EXPECT_TRUE(tip.size() >= 1 && tip.size() <= 3) << tip;
      EXPECT_EQ(tip.front(), ours.front().front()) << tip << ": one letter begins them all";
      for (const std::string excels : kExcelHomeKeyTips)
        EXPECT_FALSE(tip.rfind(excels, 0) == 0 || excels.rfind(tip, 0) == 0) << tip << " meets Excel's " << excels;
      for (const std::string& other : ours) {
        if (&other == &tip) continue;
        EXPECT_FALSE(other.rfind(tip, 0) == 0) << tip << " begins " << other;
      }
    }
  }
}

TEST_F(RibbonTest, TheTogglesPressedStateFollowsTheSwitchHoweverItIsChanged) {
  struct Case {
    std::vector<const char*> lines;
    bool pressed;
  };
  const Case cases[] = {
      {{"click Switch"}, false},
      {{"click Switch", "click Switch"}, true},
      {{"ribbon toggle rowtintBand"}, false},
      {{"ribbon toggle rowtintBand", "click Switch"}, true},
      {{"click Switch", "click menu:Warm"}, true},
      {{"click Switch", "ribbon menu rowtintColours rowtintWober"}, true},
      {{"click Switch", "click Option", "form click cb_ok"}, true},
  };
  for (const Case& c : cases) {
    Run({"start", "select C5"});
    ASSERT_TRUE(Control(addin::kRibbonBand).pressed);
    for (const char* line : c.lines) Run(line);
    EXPECT_EQ(Control(addin::kRibbonBand).pressed, c.pressed) << c.lines.back();
    EXPECT_EQ(Control(addin::kRibbonBand).pressed, !S().HighlightOff) << c.lines.back();
  }
}

TEST_F(RibbonTest, TheHistorySwatchesFollowTheOptionsFormsUnloadingAndARestart) {
  Run({"select C5", "click Option", "pick 40 160 80", "form click cb_Select", "form click cb_ok"});
  ExpectHistoryShown("before the form unloads");
  EXPECT_FALSE(Control(addin::kRibbonHistory[0]).enabled);
  // Closed from its title bar, the form unloads and its swatches become the history.
  Run({"click Option", "form close"});
  ASSERT_NE(S().HistoryColor1, engine::kEmptySwatchColor);
  ExpectHistoryShown("after the form unloaded");
  Run({"shutdown", "start"});
  EXPECT_EQ(S().HistoryColor1, 40 | 160 << 8 | 80 << 16) << "the colour in use went to the front at shut-down";
  ExpectHistoryShown("after a restart");
  // Choosing one applies it as the presets do: on, in that colour, the text mode kept.
  Run("select C6");
  const std::int32_t mode = S().RopMode;
  Run({"click Switch", "ribbon menu rowtintColours rowtintHistory2"});
  EXPECT_EQ(S().HighlightColor, S().HistoryColor2);
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_EQ(S().RopMode, mode);
}

// The forms run their own modal loops; whatever they change (the colour, the
// switch, the history at an unload) reaches the ribbon however often they
// open and close, from whichever place they were opened.
TEST_F(RibbonTest, TheGroupFollowsTheFormsOpenedAndClosedAgainAndAgain) {
  const std::vector<std::vector<const char*>> rounds = {
      {"click Option", "pick 40 160 80", "form click cb_Select", "form click cb_ok"},
      {"ribbon click rowtintOptions", "form click cb_cancel"},
      {"click Switch", "ribbon click rowtintOptions", "form close"},
      {"ribbon click rowtintAbout", "form click Label5"},
      {"click menu:Option", "pick 9 9 9", "form click cb_Select", "form click Lab_his1", "form click cb_ok"},
      {"click About", "form close", "ribbon click rowtintOptions", "form close"},
      {"click Switch", "ribbon click rowtintOptions", "pick 1 2 3", "form click cb_Select", "form click cb_ok"},
  };
  Run("select C5");
  for (const auto& round : rounds) {
    for (const char* line : round) Run(line);
    const std::string where = round.front() + std::string(" ... ") + round.back();
    EXPECT_EQ(Control(addin::kRibbonBand).pressed, !S().HighlightOff) << where;
    EXPECT_EQ(Control(addin::kRibbonColours).swatch,
              static_cast<platform::Color>(sim::ResolveColor(S().HighlightColor)))
        << where;
    ExpectHistoryShown(where);
    for (const auto& control : Ribbon().Controls()) {
      if (control.id.rfind("rowtintHistory", 0) == 0) continue;
      EXPECT_TRUE(control.enabled) << where << ": " << control.id;
    }
  }
  EXPECT_EQ(S().HighlightColor, 1 | 2 << 8 | 3 << 16);
  EXPECT_NE(S().HistoryColor1, engine::kEmptySwatchColor) << "an unload made a history to follow";
}

TEST_F(RibbonTest, WithTheGateClosedEveryControlIsDisabledAfterTheNextTickAndAClickDoesNothing) {
  Run({"select C5", "tick", "gate off"});
  EXPECT_TRUE(Control(addin::kRibbonOptions).enabled) << "no event tells of the gate";
  Run("tick");
  for (const auto& control : Ribbon().Controls()) EXPECT_FALSE(control.enabled) << control.id;
  // What a click would reach, were Office to pass it on anyway, is refused by the gate.
  const platform::Color color = S().HighlightColor;
  auto& addin = *session_.AddIn();
  addin.RibbonAction(addin::kRibbonWarm);
  addin.RibbonToggle(addin::kRibbonBand, false);
  addin.RibbonAction(addin::kRibbonOptions);
  EXPECT_EQ(S().HighlightColor, color);
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_FALSE(Options() && Options()->Visible());
  // The gate opens, the next selection restarts the timer, its tick enables them again.
  Run({"gate on", "select C6", "tick"});
  EXPECT_TRUE(Control(addin::kRibbonOptions).enabled);
}

TEST_F(RibbonTest, EachRibbonCommandGivesWhatItsToolbarOrMenuCounterpartGives) {
  struct Case {
    const char* ribbon;
    const char* counterpart;
  };
  const Case cases[] = {
      {"ribbon toggle rowtintBand", "click Switch"},
      {"ribbon menu rowtintColours rowtintWober", "click menu:Wober"},
      {"ribbon menu rowtintColours rowtintWarm", "click menu:Warm"},
      {"ribbon click rowtintLastRow", "click FindLastrow"},
      {"ribbon click rowtintOptions", "click Option"},
      {"ribbon click rowtintAbout", "click menu:About"},
  };
  // The screen and what the user's state holds, after the same lines and then the command.
  auto play = [](const char* command) {
    simcli::SimSession session;
    std::ostringstream out;
    for (const char* line : {"start", "set B3 10", "set B9 20", "select B5", "click menu:Warm", "click Switch"})
      session.RunLine(line, out);
    session.RunLine(command, out);
    const auto s = session.Library().Band().Snapshot();
    std::ostringstream seen;
    seen << s.HighlightColor << " " << s.HighlightOff << " " << s.RopMode << " "
         << sim::AbsoluteAddress(session.Host().Sheet().selection) << " " << (session.Forms().ActiveForm() != nullptr);
    return std::make_pair(session.Desktop().Screen(), seen.str());
  };
  for (const Case& c : cases) {
    const auto byRibbon = play(c.ribbon), byCounterpart = play(c.counterpart);
    EXPECT_EQ(byRibbon.second, byCounterpart.second) << c.ribbon;
    EXPECT_TRUE(byRibbon.first == byCounterpart.first) << c.ribbon << ": the screens differ";
  }
}

TEST_F(RibbonTest, TheAddInAsksOfficeToDrawOnlyTheControlsWhoseLookChangedAndLetsGoAtDisconnection) {
  struct Case {
    const char* line;
    std::set<std::string> asked;
  };
  const Case cases[] = {
      {"click FindLastrow", {}},
      {"click Switch", {addin::kRibbonBand}},
      {"click menu:Warm", {addin::kRibbonBand, addin::kRibbonColours}},
      {"click menu:Warm", {}},
      {"ribbon menu rowtintColours rowtintWober", {addin::kRibbonColours}},
  };
  Run("select C5");
  auto recorder = std::make_shared<RecordingRibbon>();
  session_.AddIn()->RibbonLoad(recorder);
  for (const Case& c : cases) {
    recorder->asked.clear();
    Run(c.line);
    EXPECT_EQ(recorder->asked, c.asked) << c.line;
  }
  Run("unload");
  EXPECT_EQ(recorder.use_count(), 1) << "the add-in kept Office's IRibbonUI after disconnecting";
}

}  // namespace
}  // namespace rowtint::testing
