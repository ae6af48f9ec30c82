#include "config/option_catalogue.h"

#include <algorithm>

#include "common/convert.h"
#include "config/catalogue_tables.h"
#include "link/register_map.h"
#include "program.h"

namespace sigcond {

namespace {

constexpr std::string_view kInputFrameTitle = "Input range or configuration : ";
constexpr std::string_view kModeFrameTitle = "Input/output mode selection : ";
constexpr std::string_view kFilterCaption = "Filter time constant :";
constexpr std::string_view kScalingCaption = "Analog output scaling :  ";
constexpr std::array<std::string_view, 4> kScalingValueCaptions{"Input 1", "Desired output 1",
                                                                "Input 2", "Desired output 2"};
constexpr std::string_view kGateCaption = "Gate time :  ";
constexpr std::string_view kDebounceCaption = "Debounce time :  ";
constexpr std::string_view kResolutionCaption = "Resolution :";
constexpr int kOptionListSlot = 9;  // groups 3 and 7 use the single-list panel

bool validIndex(int g, int i, int k) {
    return g >= 1 && g <= kGroupCount && i >= 1 && i <= kMaxItems && k >= 1 && k <= kMaxOptions;
}

// Two blanks, the caption, then blanks up to the item's common width.
std::string padCaption(std::string_view caption, std::size_t width) {
    std::string padded = "  ";
    padded += caption;
    if (padded.size() < width) padded.append(width - padded.size(), ' ');
    return padded;
}

template <typename Captions>
std::size_t defaultWidth(const Captions& captions) {
    std::size_t longest = 0;
    for (const auto& c : captions) longest = std::max(longest, std::string_view(c).size());
    return longest + 4;
}

void fillItems(OptionCatalogue& cat, int g, const std::vector<ItemSpec>& items) {
    cat.itemCount[g] = static_cast<int>(items.size());
    for (std::size_t n = 0; n < items.size() && n < kMaxItems; ++n) {
        const ItemSpec& item = items[n];
        const int i = static_cast<int>(n) + 1;
        cat.itemCaption[g][i] = std::string(item.caption);
        cat.listSlot[g][i] = item.listSlot;
        cat.choiceCount[g][i] = static_cast<int>(item.options.size());
        const std::size_t width = item.captionWidth > 0
                                      ? static_cast<std::size_t>(item.captionWidth)
                                      : defaultWidth(item.options);
        for (std::size_t k = 0; k < item.options.size() && k < kMaxOptions; ++k)
            cat.optionCaption[g][i][k + 1] = padCaption(item.options[k], width);
    }
}

void fillCommonGroups(OptionCatalogue& cat) {
    cat.itemCount[kGroupFilter] = 1;
    cat.itemCaption[kGroupFilter][1] = std::string(kFilterCaption);
    cat.listSlot[kGroupFilter][1] = kOptionListSlot;
    cat.choiceCount[kGroupFilter][1] = kFilterOptionsOffered;
    const std::size_t width = defaultWidth(kFilterCaptions);
    for (std::size_t k = 0; k < kFilterCaptions.size(); ++k)
        cat.optionCaption[kGroupFilter][1][k + 1] = padCaption(kFilterCaptions[k], width);

    // The scaling group holds four typed numbers, named by its "options".
    cat.itemCount[kGroupScaling] = 1;
    cat.itemCaption[kGroupScaling][1] = std::string(kScalingCaption);
    for (std::size_t k = 0; k < kScalingValueCaptions.size(); ++k)
        cat.optionCaption[kGroupScaling][1][k + 1] = std::string(kScalingValueCaptions[k]);

    cat.itemCount[kGroupGate] = 1;
    cat.itemCaption[kGroupGate][1] = std::string(kGateCaption);
    cat.itemCount[kGroupDebounce] = 1;
    cat.itemCaption[kGroupDebounce][1] = std::string(kDebounceCaption);
}

void fillResolution(OptionCatalogue& cat, const TypeSpec& entry) {
    if (entry.resolutionCaptions == nullptr || entry.resolutionCount == 0) return;
    cat.itemCount[kGroupResolution] = 1;
    cat.itemCaption[kGroupResolution][1] = std::string(kResolutionCaption);
    cat.listSlot[kGroupResolution][1] = kOptionListSlot;
    cat.choiceCount[kGroupResolution][1] = entry.resolutionCount;
    for (std::size_t k = 0; k < entry.resolutionCaptions->size(); ++k)
        cat.optionCaption[kGroupResolution][1][k + 1] = std::string((*entry.resolutionCaptions)[k]);
}

// The caption of the option picked for item i of group g, or "" when the pick is out of range.
const std::string& chosenCaption(const ConfigRecord& rec, int g, int i) {
    static const std::string none;
    const int k = rec.choice[g][i];
    if (!validIndex(g, i, k)) return none;
    return rec.catalogue.optionCaption[g][i][k];
}

const std::string& unitOfOption(const ConfigRecord& rec, int k) {
    static const std::string none;
    if (k < 1 || k > kMaxOptions) return none;
    return rec.catalogue.rangeUnit[k];
}

}  // namespace

std::string inputTypeForNumber(std::string_view typeNumber) {
    for (const TypeSpec& entry : typeSpecs())
        if (entry.typeNumber == typeNumber) return std::string(entry.code);
    return std::string(kTypeTC);
}

std::string_view longTypeName(std::string_view inputType) {
    const TypeSpec* entry = findTypeSpec(inputType);
    return entry ? entry->longName : std::string_view();
}

bool isKnownInputType(std::string_view inputType) { return findTypeSpec(inputType) != nullptr; }

void buildOptionCatalogue(Program& p) {
    ConfigRecord& rec = p.config;
    RegisterImage& image = p.registers;

    // 1. Register numbers and default register texts (slot 7 has no default).
    for (int s = 1; s <= 6; ++s) {
        image.registerNumber[s] = std::string(kRegisterSlots[s].number);
        image.registerText[s] = std::string(kRegisterSlots[s].defaultText);
    }

    // 2-4. The catalogue of the type.
    rec.catalogue = OptionCatalogue{};
    OptionCatalogue& cat = rec.catalogue;
    cat.groupTitle[1] = std::string(kInputFrameTitle);
    cat.groupTitle[2] = std::string(kModeFrameTitle);
    const TypeSpec* entry = findTypeSpec(rec.inputType);
    if (entry != nullptr) {
        cat.frame[1] = entry->frame1;
        cat.frame[2] = entry->frame2;
        fillItems(cat, kGroupInput, entry->inputItems);
        fillItems(cat, kGroupMode, entry->modeItems);
        for (std::size_t k = 0; k < entry->rangeUnits.size() && k < kMaxOptions; ++k)
            cat.rangeUnit[k + 1] = std::string(entry->rangeUnits[k]);
    }
    fillCommonGroups(cat);
    rec.scalingText = {"", "00.0000", "00.0000", "10.0000", "10.0000"};
    rec.gateTimeText = "000";
    rec.debounceTimeText = "001";
    rec.outputFullScaleText = "20.0000";
    rec.outputUnitText = "  mA";
    rec.voltOptionCaption = "  Volt     ";

    // 5-6. Every pick back to option 1; the slots in use.
    rec.choice = ConfigRecord::allOnes();
    image.encodedGroupCount = rec.inputType == kTypeFP ? 6 : 4;

    // 7. Resolution (none for "ACV" and "ACC").
    if (entry != nullptr) fillResolution(cat, *entry);

    // 8. The current option group.
    p.screen.currentGroup = 1;

    typeNameOf(p);
    refreshDerivedLabels(p);
}

void typeNameOf(Program& p) {
    const TypeSpec* entry = findTypeSpec(p.config.inputType);
    if (entry != nullptr) p.config.inputTypeName = std::string(entry->longName);
}

void refreshDerivedLabels(Program& p) {
    ConfigRecord& rec = p.config;
    bool volt = false;
    for (int i = 1; i <= std::min(rec.catalogue.itemCount[kGroupMode], kMaxItems); ++i)
        if (chosenCaption(rec, kGroupMode, i) == rec.voltOptionCaption) volt = true;
    rec.outputFullScaleText = volt ? "10.0000" : "20.0000";
    rec.outputUnitText = volt ? "  Volt" : "  mA";

    rec.temperatureSuffix.clear();
    if (rec.inputType == kTypeTC || rec.inputType == kTypeRTD) {
        const std::string& unit = chosenCaption(rec, kGroupMode, 1);
        if (unit.size() >= 3) rec.temperatureSuffix = std::string(1, unit[2]) + " ";
    }
    if (rec.inputType == kTypeFP)
        rec.readingUnitText = unitOfOption(rec, rec.choice[kGroupMode][1]);
    else
        rec.readingUnitText = unitOfOption(rec, rec.choice[kGroupInput][1]) + rec.temperatureSuffix;
}

std::optional<double> rangeFactor(const Program& p) {
    const TypeSpec* entry = findTypeSpec(p.config.inputType);
    if (entry == nullptr) return std::nullopt;
    const int k = p.config.choice[kGroupInput][1];
    if (k < 1 || k > static_cast<int>(entry->rangeFactors.size())) return std::nullopt;
    return entry->rangeFactors[k - 1];
}

void limitProcessResolution(Program& p) {
    ConfigRecord& rec = p.config;
    if (rec.inputType != kTypePR) return;
    int offered = 6;
    if (rec.choice[kGroupInput][3] == 2) {
        offered = 4;
    } else {
        switch (rec.choice[kGroupInput][1]) {
            case 2:
                offered = 4;
                break;
            case 1:
            case 6:
                offered = 5;
                break;
            default:
                offered = 6;
                break;
        }
    }
    rec.catalogue.choiceCount[kGroupResolution][1] = offered;
    if (rec.choice[kGroupResolution][1] > offered) rec.choice[kGroupResolution][1] = offered;
}

std::string displayedOptionCaption(const Program& p, int g, int i, int k) {
    if (!validIndex(g, i, k)) return {};
    const ConfigRecord& rec = p.config;
    const std::string& stored = rec.catalogue.optionCaption[g][i][k];
    if (g == kGroupResolution && (rec.inputType == kTypePR || rec.inputType == kTypeST)) {
        const int range = rec.choice[kGroupInput][1];
        const double v = textToNumber(chosenCaption(rec, kGroupInput, 1));
        std::string text = numberToText(v, true) + stored;
        if (text.size() > 8) text = numberToText(v / 10, true) + stored;
        return text + unitOfOption(rec, range);
    }
    if (g == kGroupResolution && rec.inputType == kTypeFP)
        return stored + unitOfOption(rec, rec.choice[kGroupMode][1]);
    return stored;
}

}  // namespace sigcond
