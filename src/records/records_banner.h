// The banner of a finished load or save in the main window's banner label.
#pragma once

#include <string>

namespace sigcond {

struct Program;

// Label3 shows the text (120 twips per character, font size 10); the live-reading cycle hides
// it again after four cycles (bannerTicks).
void showFileBanner(Program& p, const std::string& text);

}  // namespace sigcond
