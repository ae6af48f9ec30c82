// A program object for the records tests: scripted dialogs, a virtual clock, a scratch folder
// that is removed afterwards, and the operator's part in the file chooser.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/option_catalogue.h"
#include "program.h"
#include "records/file_chooser.h"
#include "sim/model/virtual_clock.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"

namespace sigcond::test {

struct RecordsBench {
    sim::VirtualClock clock;
    ScriptedPort port{clock};
    ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};
    std::filesystem::path folder;

    explicit RecordsBench(const std::string& inputType = "TC") {
        static int serial = 0;
        folder = std::filesystem::temp_directory_path() /
                 ("records-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        p.files.lastDirectory = folder.string();
        useType(inputType);
    }
    ~RecordsBench() {
        std::error_code ec;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(folder, ec);
    }

    void useType(const std::string& inputType) {
        p.config.inputType = inputType;
        buildOptionCatalogue(p);
    }

    // The operator types the name into the chooser and presses OK at its next showing.
    void typeName(const std::string& name) {
        dialogs.modalActions.push_back([this, name] {
            p.form8.Text1.caption = name;
            fileChooserOk(p);
        });
    }
    // The operator presses Cancel at the chooser's next showing.
    void cancelChooser() {
        dialogs.modalActions.push_back([this] { fileChooserCancel(p); });
    }

    std::string path(const std::string& name) const {
        return (folder / name).make_preferred().string();
    }
};

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace sigcond::test
