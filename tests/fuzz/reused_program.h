// Programs for fuzz targets that drive the core through Program. Building a program and its
// option catalogue costs more than most runs, so a target keeps one per input type and puts
// back, before each run, every part of the state the core changes in it; the catalogue, which
// the runs only read, stays. Targets run the same input on a program built afresh now and
// then and compare, which catches any state that the putting back missed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "config/option_catalogue.h"
#include "program.h"
#include "quiet_doubles.h"
#include "sim/model/virtual_clock.h"
#include "ui/main_screen_ops.h"

namespace sigcond::fuzz {

// A program of one input type with its catalogue built and its main screen laid out.
template <typename DialogsType>
struct BuiltProgram {
    QuietPort port;
    sim::VirtualClock clock;
    DialogsType dialogs;
    Program program{port, clock, dialogs};

    explicit BuiltProgram(int type) {
        program.config.inputType = std::string(kDemoTypeOrder[type]);
        buildOptionCatalogue(program);
        initMainScreen(program);
    }
};

// Everything of the record but the catalogue back as it was.
inline void restoreRecord(ConfigRecord& c, const ConfigRecord& record) {
    c.inputType = record.inputType;
    c.choice = record.choice;
    c.scalingText = record.scalingText;
    c.gateTimeText = record.gateTimeText;
    c.debounceTimeText = record.debounceTimeText;
    c.inputTypeName = record.inputTypeName;
    c.outputFullScaleText = record.outputFullScaleText;
    c.outputUnitText = record.outputUnitText;
    c.temperatureSuffix = record.temperatureSuffix;
    c.readingUnitText = record.readingUnitText;
    c.voltOptionCaption = record.voltOptionCaption;
    c.groupTouched = record.groupTouched;
    c.modeMarker = record.modeMarker;
}

// A built program and the state it had when built.
template <typename DialogsType>
struct ReusedProgram : BuiltProgram<DialogsType> {
    MainScreen form1;
    LiveState live;
    ScreenState screen;
    RegisterImage registers;
    LinkState link;
    TransferState transfer;
    ConfigRecord record;

    explicit ReusedProgram(int type) : BuiltProgram<DialogsType>(type) {
        const Program& p = this->program;
        form1 = p.form1;
        live = p.live;
        screen = p.screen;
        registers = p.registers;
        link = p.link;
        transfer = p.transfer;
        record = p.config;
    }

    void restore() {
        Program& p = this->program;
        p.form1 = form1;
        p.live = live;
        p.screen = screen;
        p.registers = registers;
        p.link = link;
        p.transfer = transfer;
        restoreRecord(p.config, record);
        this->dialogs = DialogsType{};
    }
};

// The kept program of the type, its state put back.
template <typename DialogsType>
ReusedProgram<DialogsType>& reusedProgram(int type) {
    static std::array<std::unique_ptr<ReusedProgram<DialogsType>>, 7> programs;
    auto& kept = programs[static_cast<std::size_t>(type % 7)];
    if (!kept) kept = std::make_unique<ReusedProgram<DialogsType>>(type % 7);
    kept->restore();
    return *kept;
}

// True on the first run of the process and on every 64th after it: the runs that are also made
// on a program built afresh (the first, so that an input run alone is checked that way too).
inline bool checkAgainstFreshProgram() {
    static std::uint64_t runCount = 0;
    return runCount++ % 64 == 0;
}

}  // namespace sigcond::fuzz
