// Seams that answer nothing and ask nothing, for fuzz targets that drive the core directly.
#pragma once

#include <optional>
#include <string>

#include "platform/dialogs.h"
#include "platform/serial_port.h"

namespace sigcond::fuzz {

class QuietPort : public SerialPort {
public:
    void setPortNumber(int) override {}
    void setLineSettings(const std::string&) override {}
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(const std::string&) override { return true; }
    int waitingCount() override { return 0; }
    std::string readAll() override { return {}; }
    bool waitForData(int) override { return false; }
    std::string errorText() const override { return {}; }
    bool failed() const override { return false; }
};

class QuietDialogs : public Dialogs {
public:
    Answer messageBox(const std::string&, Buttons, Icon, const std::string&) override {
        return Answer::Ok;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&,
                                        std::optional<InputBoxPosition>) override {
        return std::nullopt;
    }
    void beep() override {}
    void processEvents() override {}
    void runModal(const std::string&) override {}
};

}  // namespace sigcond::fuzz
