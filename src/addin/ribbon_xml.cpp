#include "addin/ribbon_xml.h"

#include <sstream>

namespace rowtint::addin {
namespace {

// What every control has: its id, label, tips and the gate behind it.
void Common(std::ostream& xml, const char* id, const char* label, const char* keytip, const char* supertip) {
  xml << " id=\"" << id << "\" label=\"" << label << "\" screentip=\"" << label << "\" supertip=\"" << supertip
      << "\" keytip=\"" << keytip << "\" getEnabled=\"RibbonEnabled\"";
}

void Button(std::ostream& xml, const char* id, const char* label, const char* keytip, const char* supertip,
            const char* size, bool swatch) {
  xml << "<button";
  Common(xml, id, label, keytip, supertip);
  if (size) xml << " size=\"" << size << "\"";
  if (swatch) xml << " getImage=\"RibbonImage\"";
  xml << " onAction=\"RibbonAction\"/>";
}
}  // namespace

// The Home tab's key tips: Excel's own take single letters, digits and
// pairs under A and F, and Office numbers controls without one Y1, Y2, ....
// A tip equal to one of those, or that one begins or ends before, would not
// reach the add-in; every tip of the group's top level begins with Z, which
// none of Excel's does.
std::string RibbonXml(const char* xmlNamespace) {
  std::ostringstream xml;
  xml << "<customUI xmlns=\"" << xmlNamespace << "\" onLoad=\"RibbonLoad\">"
      << "<ribbon><tabs><tab idMso=\"TabHome\"><group id=\"rowtintGroup\" label=\"Rowtint\" keytip=\"ZR\">";
  xml << "<toggleButton";
  Common(xml, kRibbonBand, "Band", "ZB", "Shows or hides the band across the active cell's row.");
  xml << " size=\"large\" getPressed=\"RibbonPressed\" onAction=\"RibbonToggle\"/>";
  Button(xml, kRibbonOptions, "Options", "ZO", "Chooses the band's colour and how the text shows through it.", "large",
         false);
  xml << "<menu";
  Common(xml, kRibbonColours, "Colours", "ZC", "Gives the band a preset colour or one of the last three chosen.");
  xml << " size=\"large\" getImage=\"RibbonImage\">";
  Button(xml, kRibbonWober, "Wober", "W", "Gives the band the blue-grey preset colour and shows it.", nullptr, true);
  Button(xml, kRibbonWarm, "Warm", "A", "Gives the band the pink preset colour and shows it.", nullptr, true);
  const char* historyLabels[3] = {"History 1", "History 2", "History 3"};
  const char* historyTips[3] = {"1", "2", "3"};
  for (int i = 0; i < 3; ++i)
    Button(xml, kRibbonHistory[i], historyLabels[i], historyTips[i],
           "Gives the band a colour chosen before and shows it.", nullptr, true);
  xml << "</menu>";
  xml << "<menu";
  Common(xml, kRibbonAcross, "Across", "ZA", "Runs the band across the active cell's row, down its column, or both.");
  xml << " size=\"large\">";
  const char* acrossLabels[3] = {"Row", "Column", "Row and column"};
  const char* acrossTips[3] = {"R", "C", "B"};
  const char* acrossSupertips[3] = {"Runs the band across the active cell's row.",
                                    "Runs the band down the active cell's column.",
                                    "Runs the band across the active cell's row and down its column."};
  for (int i = 0; i < 3; ++i) {
    xml << "<toggleButton";
    Common(xml, kRibbonAcrossItems[i], acrossLabels[i], acrossTips[i], acrossSupertips[i]);
    xml << " getPressed=\"RibbonPressed\" onAction=\"RibbonToggle\"/>";
  }
  xml << "</menu>";
  Button(xml, kRibbonLastRow, "Find last row", "ZL", "Selects the cell below the last used row, in this column.",
         "large", false);
  Button(xml, kRibbonAbout, "About", "ZI", "Shows the add-in's version.", "large", false);
  xml << "</group></tab></tabs></ribbon></customUI>";
  return xml.str();
}

}  // namespace rowtint::addin
