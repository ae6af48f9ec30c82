#include "config/catalogue_tables.h"

namespace sigcond {

namespace {

// Resolution captions: thermocouple and RTD captions carry eight leading blanks.
constexpr std::array<std::string_view, 6> kTemperatureResolution{
    "        1", "        0.1", "        0.01", "        .001", "        .0001", "        .00001"};
constexpr std::array<std::string_view, 6> kFrequencyResolution{"50000.",  "50000.0", "9999.99",
                                                               "999.999", "99.9999", "9.99999"};
// Process and strain: the decimals shown after the chosen range's full-scale value.
constexpr std::array<std::string_view, 6> kRangeResolution{".",    ".0",    ".00",
                                                           ".000", ".0000", ".00000"};

const ItemSpec kLineFrequency2{"Line frequency:", 2, 0, {"60 Hz", "50 Hz"}};
const std::vector<std::string_view> kOutputModes{"Current", "Volt"};
const std::vector<std::string_view> kTemperatureUnits{"Celsius (C)", "Fahrenheit (F)",
                                                      "Kelvin (K)"};

// The tables read best one type per block, as laid out here.
// clang-format off
std::vector<TypeSpec> makeSpecs() {
    std::vector<TypeSpec> specs;
    specs.push_back(TypeSpec{
        "TC", "THERMOCOUPLE", "03", {1600, 6600, 3620}, {1900, 6000, 3920},
        {{"Thermocouple type :  ", 1, 0,
          {"'J' T/C", "'K' T/C", "'T' T/C", "'E' T/C", "'N' T/C", "'Din J' T/C", "'R' T/C",
           "'S' T/C", "'B' T/C", "'C' T/C"}},
         kLineFrequency2},
        {{"Unit of temperature :", 1, 0, kTemperatureUnits},
         {"Compensation :", 4, 0, {"Yes", "No"}},
         {"Analog output mode :", 2, 0, kOutputModes}},
        std::vector<std::string_view>(10, kDegreeUnit), &kTemperatureResolution, 3, {}});
    specs.push_back(TypeSpec{
        "RTD", "RTD", "04", {900, 7900, 3920}, {1800, 6050, 2120},
        {{"Resistance :  ", 1, 0,
          {"10 Ohm (copper only)", "100 Ohm RTD (Pt/Ni)", "500 Ohm RTD (Pt/Ni)",
           "1000 Ohm RTD (Pt/Ni)"}},
         {"RTD type :  ", 4, 0, {"Platinum", "Nickel"}},
         {"Standard :  ", 5, 0, {"Din standard", "NIST for Pt(SAMA for Ni)"}},
         {"Wiring :       ", 2, 0, {"2 wires", "3 wires", "4 wires"}},
         {"Line frequency:", 3, 0, {"60 Hz", "50 Hz"}}},
        {{"Unit of temperature :", 1, 0, kTemperatureUnits},
         {"Analog output mode :", 2, 0, kOutputModes}},
        std::vector<std::string_view>(4, kDegreeUnit), &kTemperatureResolution, 3, {}});
    specs.push_back(TypeSpec{
        "PR", "PROCESS", "01", {1700, 6600, 3920}, {600, 8600, 2020},
        {{"Input range :  ", 1, 13, {"20 mA", "400 mV", "1 V", "2 V", "5 V", "10 V"}},
         {"Excitation :  ", 2, 0, {"14 V excitation", "10 V excitation"}},
         {"Ratiometric :", 4, 0, {"Non-ratiometric", "Ratiometric"}},
         {"Line frequency:", 5, 0, {"60 Hz", "50 Hz"}}},
        {{"Totalize mode :  ", 2, 0, {"No", "Yes"}},
         {"Square root mode :  ", 1, 0, {"No", "Yes"}},
         {"Analog output mode :", 3, 0, kOutputModes}},
        {"  mA  ", "  mV  ", "  Volt  ", "  Volt  ", "  Volt  ", "  Volt  "}, &kRangeResolution,
        6, {5000, 250, 100000, 50000, 20000, 10000}});
    specs.push_back(TypeSpec{
        "ST", "STRAIN", "02", {1700, 6500, 3920}, {2000, 6100, 2120},
        {{"Input range :", 4, 0, {"30 mV", "100 mV"}},
         {"Ratiometric :", 1, 0, {"Non-ratiometric", "Ratiometric"}},
         {"Excitation :", 2, 0, {"Internal excitation", "External excitation"}},
         {"Line frequency:", 5, 0, {"60 Hz", "50 Hz"}}},
        {{"Analog output mode :", 1, 0, kOutputModes}},
        {"  mV  ", "  mV  "}, &kRangeResolution, 5, {3333.33, 1000}});
    specs.push_back(TypeSpec{
        "ACV", "AC VOLT", "05", {1600, 6600, 2320}, {1900, 6200, 2020},
        {{"Input range :  ", 1, 0, {"400 mV", "4 V AC", "40 V AC", "400 V AC"}}, kLineFrequency2},
        {{"Analog output mode :", 1, 0, kOutputModes}},
        {"  mV  ", "  Volt  ", "  Volt  ", "  Volt  "}, nullptr, 0, {250, 25000, 2500, 250}});
    specs.push_back(TypeSpec{
        "ACC", "AC CURRENT", "06", {1700, 6600, 2320}, {1800, 6200, 2020},
        {{"Input range :  ", 1, 0, {"10 mA", "100 mA", "1 A", "5 A"}}, kLineFrequency2},
        {{"Analog output mode :", 1, 0, kOutputModes}},
        {"  mA  ", "  mA  ", " Amp", " Amp"}, nullptr, 0, {10000, 1000, 100000, 20000}});
    specs.push_back(TypeSpec{
        "FP", "FREQUENCY/PULSE", "00", {1400, 7000, 3920}, {1800, 6100, 2620},
        {{"Low level input :", 4, 0, {"No", "Yes"}},
         {"Debounce contact :", 5, 0, {"No", "Yes"}},
         {"Pull up / pull down :", 2, 0, {"No", "3K pull up to 5V", "1K pull down"}},
         {"Excitation :  ", 1, 0, {"12.5 V excitation", "5V excitation", "8V excitation"}}},
        {{" Mode :        ", 1, 0, {"Frequency", "Quadrature", "A - B", "Totalize"}},
         {"Analog output mode :", 2, 0, kOutputModes}},
        {"  Hz  ", " Counts", " Counts", " Counts"}, &kFrequencyResolution, 6, {}});
    return specs;
}
// clang-format on

}  // namespace

const std::vector<TypeSpec>& typeSpecs() {
    static const std::vector<TypeSpec> specs = makeSpecs();
    return specs;
}

const TypeSpec* findTypeSpec(std::string_view code) {
    for (const TypeSpec& entry : typeSpecs())
        if (entry.code == code) return &entry;
    return nullptr;
}

}  // namespace sigcond
