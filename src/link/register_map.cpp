#include "link/register_map.h"

#include "link/register_image.h"

namespace sigcond {

int encodedGroupCountFor(std::string_view inputType) { return inputType == "FP" ? 6 : 4; }

bool hasResolutionRegister(std::string_view inputType) {
    return inputType != "ACV" && inputType != "ACC";
}

void fillRegisterNumbers(RegisterImage& image) {
    for (int s = 1; s <= 6; ++s) image.registerNumber[s] = std::string(kRegisterSlots[s].number);
}

void setRegisterDefaults(RegisterImage& image, std::string_view inputType) {
    fillRegisterNumbers(image);
    for (int s = 1; s <= 6; ++s) image.registerText[s] = std::string(kRegisterSlots[s].defaultText);
    image.encodedGroupCount = encodedGroupCountFor(inputType);
}

}  // namespace sigcond
