// A printer that keeps every printed text with its position, moving down a fixed line height.
#pragma once

#include <string>
#include <vector>

#include "platform/printer.h"

namespace sigcond::test {

struct PrintedText {
    int x = 0;
    int y = 0;
    std::string text;
};

class RecordingPrinter : public Printer {
public:
    static constexpr int kLineHeight = 240;
    static constexpr int kCharWidth = 100;

    bool failBegin = false;
    bool failEnd = false;
    std::string failure;
    bool begun = false;
    bool ended = false;
    std::vector<PrintedText> texts;  // non-empty prints only
    // The page as printed: one row per line, each text as "x:text" and the texts of one line
    // joined by " | "; a line ended without text is an empty row; a move of the vertical
    // position is a row "[+twips]".
    std::string transcript;

    bool beginDocument() override {
        begun = !failBegin;
        return begun;
    }
    void setCurrentX(int twips) override { x_ = twips; }
    int currentY() const override { return y_; }
    void setCurrentY(int twips) override {
        transcript += "[+" + std::to_string(twips - y_) + "]\n";
        y_ = twips;
    }
    void print(const std::string& text, bool stayOnLine) override {
        if (!text.empty()) {
            texts.push_back({x_, y_, text});
            row_ += (row_.empty() ? "" : " | ") + std::to_string(x_) + ":" + text;
        }
        if (!stayOnLine) {
            transcript += row_ + "\n";
            row_.clear();
        }
        if (stayOnLine) {
            x_ += static_cast<int>(text.size()) * kCharWidth;
        } else {
            x_ = 0;
            y_ += kLineHeight;
        }
    }
    bool endDocument() override {
        ended = !failEnd;
        return ended;
    }
    std::string errorText() const override { return failure; }

    const PrintedText* find(const std::string& text) const {
        for (const PrintedText& t : texts) {
            if (t.text == text) return &t;
        }
        return nullptr;
    }

private:
    int x_ = 0;
    int y_ = 0;
    std::string row_;
};

}  // namespace sigcond::test
