// Loads arbitrary bytes as a configuration file under every input type. Every input is read
// from memory and decoded as a load does; one run in 64 also goes the whole way, through
// the file chooser, a file on disk, the reading and checking of the lines and the decoder, and
// must end exactly as the reading from memory did. Besides the sanitizers it checks that a
// refused file leaves the register image as it was and that an accepted one leaves only
// hexadecimal register texts with a 24-digit slot 4 and picks the option lists offer.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "program.h"
#include "quiet_doubles.h"
#include "records/config_file.h"
#include "records/file_chooser.h"
#include "reused_program.h"
#include "sim/model/virtual_clock.h"
#include "ui/main_screen_ops.h"

namespace {

using namespace sigcond;
using fuzz::QuietDialogs;
using fuzz::QuietPort;

// Plays the operator: the chooser gets the file's path once, then Cancel.
class ChooserDialogs : public QuietDialogs {
public:
    Program* program = nullptr;
    std::string path;
    int shown = 0;
    int messages = 0;

    Answer messageBox(const std::string&, Buttons, Icon, const std::string&) override {
        ++messages;
        return Answer::Ok;
    }
    void runModal(const std::string&) override {
        if (shown++ == 0) {
            program->form8.Text1.caption = path;
            fileChooserOk(*program);
        } else {
            fileChooserCancel(*program);
        }
    }
};

bool isUpperHex(const std::string& text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

// A folder of its own, so that the chooser's listing stays short.
const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string path = "/tmp/fuzz_cfg_load-" + std::to_string(::getpid());
        ::mkdir(path.c_str(), 0700);
        return path;
    }();
    return folder;
}

const std::string& scratchPath() {
    static const std::string path = scratchFolder() + "/FUZZ.CFG";
    return path;
}

void require(bool condition) {
    if (!condition) std::abort();
}

void checkLoaded(const Program& p) {
    for (int slot = 1; slot <= 7; ++slot) require(isUpperHex(p.registers.registerText[slot]));
    require(p.registers.registerText[4].size() == 24);
    const OptionCatalogue& cat = p.config.catalogue;
    for (int g : {1, 2, 3, 7})
        for (int i = 1; i <= cat.itemCount[g]; ++i)
            require(p.config.choice[g][i] >= 1 && p.config.choice[g][i] <= cat.choiceCount[g][i]);
}

// The load from memory: the same reading of the lines and the same decoding as from a file.
// (The screen refresh that follows a load runs in the whole-way loads.)
bool loadFromMemory(Program& p, const std::string& text) {
    if (readConfigurationText(text, p.registers.encodedGroupCount, p.config.inputType,
                              p.registers.registerText) != FileProblem::None) {
        return false;
    }
    p.config.modeMarker = "NA";
    decodeConfiguration(p);
    p.config.modeMarker = "";
    return true;
}

// The whole load: the chooser picks the file, which holds the text.
bool loadFromFile(Program& p, ChooserDialogs& dialogs, const std::string& text) {
    std::FILE* file = std::fopen(scratchPath().c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    dialogs.program = &p;
    dialogs.path = scratchPath();
    p.files.lastDirectory = scratchFolder();
    loadConfiguration(p);
    return dialogs.messages == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string type(kDemoTypeOrder[data[0] % 7]);
    // Every 64th run, and the first, also goes the whole way; the file's steps do not depend on
    // the text beyond what the reading from memory covers on every run.
    const bool throughFile = fuzz::checkAgainstFreshProgram();
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    auto& reused = fuzz::reusedProgram<QuietDialogs>(data[0] % 7);
    Program& p = reused.program;
    const bool loaded = loadFromMemory(p, text);
    if (loaded) {
        checkLoaded(p);
    } else {
        require(p.registers.registerText == reused.registers.registerText);
    }
    if (!throughFile) return 0;

    QuietPort port;
    sim::VirtualClock clock;
    ChooserDialogs dialogs;
    Program q{port, clock, dialogs};
    q.config.inputType = type;
    buildOptionCatalogue(q);
    require(loadFromFile(q, dialogs, text) == loaded);
    require(q.registers.registerText == p.registers.registerText);
    require(q.config.choice == p.config.choice);
    require(q.config.scalingText == p.config.scalingText);
    require(q.config.gateTimeText == p.config.gateTimeText);
    require(q.config.debounceTimeText == p.config.debounceTimeText);
    return 0;
}
