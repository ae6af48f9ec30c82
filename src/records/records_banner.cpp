#include "records/records_banner.h"

#include "program.h"

namespace sigcond {

void showFileBanner(Program& p, const std::string& text) {
    Control& banner = p.form1.Label3;
    banner.caption = text;
    banner.width = static_cast<int>(text.size()) * 120;
    banner.fontSize = 10;
    banner.visible = true;
    p.screen.bannerTicks = 4;
}

}  // namespace sigcond
