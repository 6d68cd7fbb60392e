// The add-in's group on the Home tab, as ribbon XML: the switch, the
// options, the colours with their swatches, which way the band runs,
// find-last-row and About.
#pragma once

#include <string>

namespace rowtint::addin {

inline constexpr char kRibbonNamespace2006[] = "http://schemas.microsoft.com/office/2006/01/customui";
inline constexpr char kRibbonNamespace2009[] = "http://schemas.microsoft.com/office/2009/07/customui";
// The one ribbon of Excel's the group goes on.
inline constexpr char kWorkbookRibbonId[] = "Microsoft.Excel.Workbook";

// The controls by id; the history items follow each other.
inline constexpr char kRibbonBand[] = "rowtintBand";
inline constexpr char kRibbonOptions[] = "rowtintOptions";
inline constexpr char kRibbonColours[] = "rowtintColours";
inline constexpr char kRibbonWober[] = "rowtintWober";
inline constexpr char kRibbonWarm[] = "rowtintWarm";
inline constexpr const char* kRibbonHistory[3] = {"rowtintHistory1", "rowtintHistory2", "rowtintHistory3"};
inline constexpr char kRibbonLastRow[] = "rowtintLastRow";
inline constexpr char kRibbonAbout[] = "rowtintAbout";
// The "Across" menu and its three toggle buttons, in the order of engine::Across.
inline constexpr char kRibbonAcross[] = "rowtintAcross";
inline constexpr const char* kRibbonAcrossItems[3] = {"rowtintAcrossRow", "rowtintAcrossColumn", "rowtintAcrossBoth"};

// Excel 2007 knows only the first schema; the later ones read both, but
// take the newer one's features only under its own namespace.
std::string RibbonXml(const char* xmlNamespace);

}  // namespace rowtint::addin
