// Loads arbitrary bytes as a configuration file under every input type, through the file
// chooser, the reading and checking of the lines and the decoder. Besides the sanitizers it
// checks that a refused file leaves the register image as it was and that an accepted one
// leaves only hexadecimal register texts with a 24-digit slot 4.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/option_catalogue.h"
#include "program.h"
#include "quiet_doubles.h"
#include "records/config_file.h"
#include "records/file_chooser.h"
#include "sim/model/virtual_clock.h"

namespace {

using namespace sigcond;
using fuzz::QuietDialogs;
using fuzz::QuietPort;

// Plays the operator: the chooser gets the file's path once, then Cancel.
class ChooserDialogs : public Dialogs {
public:
    Program* program = nullptr;
    std::string path;
    int shown = 0;
    int messages = 0;

    Answer messageBox(const std::string&, Buttons, Icon, const std::string&) override {
        ++messages;
        return Answer::Ok;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&,
                                        std::optional<InputBoxPosition>) override {
        return std::nullopt;
    }
    void beep() override {}
    void processEvents() override {}
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const char* kTypes[] = {"TC", "RTD", "PR", "ST", "ACV", "ACC", "FP"};
    const char* type = kTypes[data[0] % 7];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    {
        std::FILE* file = std::fopen(scratchPath().c_str(), "wb");
        if (file == nullptr) return 0;
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }

    QuietPort port;
    sim::VirtualClock clock;
    ChooserDialogs dialogs;
    Program p{port, clock, dialogs};
    dialogs.program = &p;
    dialogs.path = scratchPath();
    p.files.lastDirectory = scratchFolder();
    p.config.inputType = type;
    buildOptionCatalogue(p);
    const auto before = p.registers.registerText;

    loadConfiguration(p);

    if (dialogs.messages > 0) {
        if (p.registers.registerText != before) std::abort();
    } else {
        for (int slot = 1; slot <= 7; ++slot) {
            if (!isUpperHex(p.registers.registerText[slot])) std::abort();
        }
        if (p.registers.registerText[4].size() != 24) std::abort();
    }
    return 0;
}
