// A program object with the catalogue of one input type built, for the codec tests.
#pragma once

#include <string>
#include <string_view>

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "support/link_bench.h"

namespace sigcond::test {

struct CodecBench : LinkBench {
    explicit CodecBench(std::string_view type = "TC") { build(type); }
    void build(std::string_view type) {
        p.config.inputType = std::string(type);
        buildOptionCatalogue(p);
    }
    std::string& slot(int s) { return p.registers.registerText[s]; }
    int& choice(int g, int i) { return p.config.choice[g][i]; }
};

}  // namespace sigcond::test
