// The send summary: what would be sent, shown in the "Configuration" frame before the operator
// confirms with "&Send".
#include <string>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/send_config.h"
#include "config/send_config_screen.h"
#include "program.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

constexpr int kLineHeight = 255;  // twips per printed line

// Layout (twips). Frame5 stands between the live values and the settings summary lines;
// the contents are drawn on Picture4 inside it: groups 1 and 2 side by side, below them the
// scaling values on the left and the single settings on the right; the buttons below Picture4.
constexpr int kFrameLeft = 600;
constexpr int kFrameTop = kPanelTop;
constexpr int kFrameWidth = 10800;
constexpr int kFrameHeight = 4080;
constexpr int kPictureLeft = 240;
constexpr int kPictureTop = 300;
constexpr int kPictureWidth = 10320;
constexpr int kPictureHeight = 3120;
constexpr int kButtonTop = 3540;
constexpr int kGroupLeft[2] = {120, 5160};
constexpr int kGroupTop = 60;
constexpr int kCaptionWidth = 2640;
constexpr int kChoiceWidth = 2280;
constexpr int kLowerTop = 1680;
constexpr int kScalingValueLeft = 2040;
constexpr int kScalingUnitLeft = 3360;

constexpr const char* kScalingCaptions[4] = {"Input 1", "Desired output 1", "Input 2",
                                             "Desired output 2"};
constexpr const char* kNotApplicable = "  N/A";

void place(Control& c, int left, int top, int width, int height = kLineHeight) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}

// The stored caption of the option chosen for item i of group g; "" if it is out of range.
std::string chosenCaption(const Program& p, int g, int i) {
    const int k = p.config.choice[g][i];
    if (k < 1 || k > kMaxOptions) return "";
    return p.config.catalogue.optionCaption[g][i][k];
}

bool isRtdCopper(const Program& p) {
    return p.config.inputType == kTypeRTD && p.config.choice[kGroupInput][1] == 1;
}

void fillGroup(Program& p, SendSummaryControls& s, int g) {
    const OptionCatalogue& cat = p.config.catalogue;
    const std::size_t n = static_cast<std::size_t>(g - 1);
    Control& heading = s.heading[n];
    Control& items = s.items[n];
    Control& choices = s.choices[n];
    const int count = std::min(std::max(cat.itemCount[g], 0), kMaxItems);

    items.lines.clear();
    choices.lines.clear();
    place(heading, kGroupLeft[n], kGroupTop, kCaptionWidth + kChoiceWidth);
    place(items, kGroupLeft[n], kGroupTop + kLineHeight, kCaptionWidth, count * kLineHeight);
    place(choices, kGroupLeft[n] + kCaptionWidth, kGroupTop + kLineHeight, kChoiceWidth,
          count * kLineHeight);
    heading.caption = cat.groupTitle[n + 1];
    for (int i = 1; i <= count; ++i) {
        items.lines.push_back(cat.itemCaption[g][i]);
        // The RTD type and standard mean nothing for the copper sensor.
        const bool notApplicable = g == kGroupInput && (i == 2 || i == 3) && isRtdCopper(p);
        choices.lines.push_back(notApplicable ? kNotApplicable : chosenCaption(p, g, i));
    }
    heading.visible = items.visible = choices.visible = true;
}

std::string resolutionText(const Program& p) {
    const ConfigRecord& c = p.config;
    const std::string caption = chosenCaption(p, kGroupResolution, 1);
    if (c.inputType == kTypeTC || c.inputType == kTypeRTD) {
        // Their captions carry eight blanks in front for the option list.
        return caption.size() > 7 ? caption.substr(7) : "";
    }
    if (c.inputType == kTypePR || c.inputType == kTypeST) {
        const double range = textToNumber(chosenCaption(p, kGroupInput, 1));
        return numberToText(range) + caption;
    }
    if (c.inputType == kTypeFP) {
        const int mode = c.choice[kGroupMode][1];
        const std::string unit =
            mode >= 1 && mode <= kMaxOptions ? c.catalogue.rangeUnit[mode] : "";
        return caption + unit;
    }
    return "";  // "ACV" and "ACC" have no resolution
}

void fillSettingLine(std::array<Control, 2>& line, const std::string& caption,
                     const std::string& value, int top, bool shown) {
    place(line[0], kGroupLeft[1], top, kCaptionWidth);
    place(line[1], kGroupLeft[1] + kCaptionWidth, top, kChoiceWidth);
    line[0].caption = caption;
    line[1].caption = value;
    line[0].visible = line[1].visible = shown;
}

}  // namespace

void showSendSummary(Program& p) {
    backToSummary(p);
    commitPendingPanel(p);

    MainScreen& f = p.form1;
    f.Frame5.caption = "Configuration";
    place(f.Frame5, kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
    f.Frame5.visible = true;
    f.Command14.caption = "&Send";
    f.Command13.caption = "&Cancel";
    place(f.Picture4, kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight);
    f.Picture4.lines.clear();
    f.Picture4.visible = true;
    place(f.Command14, 3120, kButtonTop, 1560, 420);
    place(f.Command13, 5880, kButtonTop, 1560, 420);
    f.Command14.visible = f.Command13.visible = true;
    f.Command14.enabled = f.Command13.enabled = true;

    SendSummaryControls& s = f.sendSummary;
    fillGroup(p, s, kGroupInput);
    fillGroup(p, s, kGroupMode);

    refreshDerivedLabels(p);
    refreshSummaryValues(p);
    const ConfigRecord& c = p.config;

    // Analog output scaling: inputs in the reading unit, outputs in the output unit.
    place(s.scalingHeading, kGroupLeft[0], kLowerTop, kCaptionWidth + kChoiceWidth);
    s.scalingHeading.caption = "Analog output scaling :  ";
    s.scalingHeading.visible = true;
    const std::string inputUnit = shownReadingUnitText(p);
    for (std::size_t n = 0; n < 4; ++n) {
        const int top = kLowerTop + static_cast<int>(n + 1) * kLineHeight;
        place(s.scalingCaption[n], kGroupLeft[0], top, kScalingValueLeft - kGroupLeft[0]);
        place(s.scalingValue[n], kScalingValueLeft, top, kScalingUnitLeft - kScalingValueLeft);
        place(s.scalingUnit[n], kScalingUnitLeft, top, 1200);
        s.scalingCaption[n].caption = kScalingCaptions[n];
        s.scalingValue[n].caption = c.scalingText[n + 1];
        s.scalingUnit[n].caption = n % 2 == 0 ? inputUnit : c.outputUnitText;
        s.scalingCaption[n].visible = s.scalingValue[n].visible = s.scalingUnit[n].visible = true;
    }

    const double filter = textToNumber(chosenCaption(p, kGroupFilter, 1));  // "No filtering" = 0
    fillSettingLine(s.filter, "Filter time constant :", numberToText(filter), kLowerTop, true);

    const bool hasResolution = c.inputType != kTypeACV && c.inputType != kTypeACC;
    fillSettingLine(s.resolution, "Resolution :", resolutionText(p), kLowerTop + kLineHeight,
                    hasResolution);

    // One debounce count is 5 ms and one gate count 10 ms; a gate count of 0 gates for 3 ms.
    const bool frequency = c.inputType == kTypeFP;
    const double debounceMs = textToNumber(c.debounceTimeText) * 5;
    double gateMs = textToNumber(c.gateTimeText) * 10;
    if (gateMs == 0) gateMs = 3;
    fillSettingLine(s.debounce, "Debounce time :  ", numberToText(debounceMs) + " ms",
                    kLowerTop + 2 * kLineHeight, frequency);
    fillSettingLine(s.gate, "Gate time :  ", numberToText(gateMs) + " ms",
                    kLowerTop + 3 * kLineHeight, frequency);
}

void appendSendSummaryViews(SendSummaryControls& s, std::vector<ControlView>& views) {
    const auto add = [&views](const char* name, ControlKind kind, Control& c, int index) {
        views.push_back({name, index, kind, &c, "Picture4"});
    };
    for (int n = 0; n < 2; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        add("SummaryHeading", ControlKind::Label, s.heading[i], n);
        add("SummaryItems", ControlKind::PictureBox, s.items[i], n);
        add("SummaryChoices", ControlKind::PictureBox, s.choices[i], n);
    }
    add("SummaryScaling", ControlKind::Label, s.scalingHeading, -1);
    for (int n = 0; n < 4; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        add("SummaryScalingCaption", ControlKind::Label, s.scalingCaption[i], n);
        add("SummaryScalingValue", ControlKind::Label, s.scalingValue[i], n);
        add("SummaryScalingUnit", ControlKind::Label, s.scalingUnit[i], n);
    }
    for (int n = 0; n < 2; ++n) {
        const std::size_t i = static_cast<std::size_t>(n);
        add("SummaryFilter", ControlKind::Label, s.filter[i], n);
        add("SummaryResolution", ControlKind::Label, s.resolution[i], n);
        add("SummaryDebounce", ControlKind::Label, s.debounce[i], n);
        add("SummaryGate", ControlKind::Label, s.gate[i], n);
    }
}

}  // namespace sigcond
