// The seven input types and the option catalogue: building it for the current type, the
// captions the option lists show, and the values derived from the configuration record.
//
// To find an item's list and options from another file: after buildOptionCatalogue(p),
// p.config.catalogue.listSlot[g][i] (1..9) names the on-screen list List1(slot - 1) of item i
// of group g, choiceCount[g][i] the options it offers, displayedOptionCaption(p, g, i, k) the
// line shown for option k, and p.config.choice[g][i] the option picked. Frame layout values of
// groups 1 and 2 are in p.config.catalogue.frame[1..2], their titles in groupTitle[1..2].
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sigcond {

struct Program;

// Input type codes.
inline constexpr std::string_view kTypeTC = "TC";
inline constexpr std::string_view kTypeRTD = "RTD";
inline constexpr std::string_view kTypePR = "PR";
inline constexpr std::string_view kTypeST = "ST";
inline constexpr std::string_view kTypeACV = "ACV";
inline constexpr std::string_view kTypeACC = "ACC";
inline constexpr std::string_view kTypeFP = "FP";

// The input types in the demo chooser's order (list positions 0..6).
inline constexpr std::string_view kDemoTypeOrder[7] = {kTypeTC,  kTypeRTD, kTypePR, kTypeST,
                                                       kTypeACV, kTypeACC, kTypeFP};

// Type code for the two-digit type number the unit reports to "U01"; any number not in the
// table gives "TC".
std::string inputTypeForNumber(std::string_view typeNumber);
// Long name of a type code ("THERMOCOUPLE"); "" for a code not in the table.
std::string_view longTypeName(std::string_view inputType);
// True for one of the seven type codes.
bool isKnownInputType(std::string_view inputType);

// Fills the whole catalogue for p.config.inputType and resets the record to its defaults:
// register numbers and default register texts, encodedGroupCount, frame layouts, list slots,
// items and options of every group, scaling defaults, derived texts; current group 1.
void buildOptionCatalogue(Program& p);

// inputTypeName from inputType; unchanged for a code not in the table.
void typeNameOf(Program& p);

// outputFullScaleText, outputUnitText, temperatureSuffix and readingUnitText from the record.
void refreshDerivedLabels(Program& p);

// 100000 divided by the full-scale value of the chosen input range (choice[1][1]); no factor
// for "TC", "RTD" and "FP".
std::optional<double> rangeFactor(const Program& p);

// For "PR": narrows the resolution options offered (choiceCount[7][1]) to what the chosen
// range and ratiometric setting allow, and lowers choice[7][1] into that offer.
void limitProcessResolution(Program& p);

// The text an option list shows for option k of item i of group g.
std::string displayedOptionCaption(const Program& p, int g, int i, int k);

}  // namespace sigcond
