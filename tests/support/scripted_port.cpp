#include "support/scripted_port.h"

#include <algorithm>

namespace sigcond::test {

std::string SentFrame::command() const {
    std::string c = text;
    if (!c.empty() && c.front() == '*') c.erase(0, 1);
    if (!c.empty() && c.back() == '\r') c.pop_back();
    return c;
}

std::vector<std::string> ScriptedPort::commands() const {
    std::vector<std::string> out;
    for (const auto& f : frames) out.push_back(f.command());
    return out;
}

void ScriptedPort::schedule(double at, std::string text) {
    auto pos = std::upper_bound(pending_.begin(), pending_.end(), at,
                                [](double t, const Pending& p) { return t < p.at; });
    pending_.insert(pos, Pending{at, std::move(text)});
}

void ScriptedPort::arrive(std::string text, double delay) {
    schedule(clock_.monotonicSeconds() + delay, std::move(text));
}

bool ScriptedPort::open() {
    ++openCalls;
    if (failOpen) {
        error_ = "The port does not exist.";
        return false;
    }
    open_ = true;
    failed_ = false;
    return true;
}

bool ScriptedPort::write(const std::string& text) {
    if (failWrite || !open_) {
        if (open_) failed_ = true;
        error_ = "The port cannot be written.";
        return false;
    }
    const double now = clock_.monotonicSeconds();
    frames.push_back({text, lineSettings, now});

    std::optional<ScriptedReply> answer;
    if (!script.empty()) {
        answer = std::move(script.front());
        script.pop_front();
    } else if (responder) {
        answer = responder(frames.back().command(), lineSettings);
    }
    if (answer) {
        for (auto& piece : answer->pieces) schedule(now + piece.delay, std::move(piece.text));
    }
    return true;
}

void ScriptedPort::deliverDue() {
    const double now = clock_.monotonicSeconds();
    auto due = pending_.begin();
    while (due != pending_.end() && due->at <= now + 1e-9) {
        received_ += due->text;
        ++due;
    }
    pending_.erase(pending_.begin(), due);
}

int ScriptedPort::waitingCount() {
    deliverDue();
    return static_cast<int>(received_.size());
}

std::string ScriptedPort::readAll() {
    deliverDue();
    std::string out;
    out.swap(received_);
    return out;
}

bool ScriptedPort::waitForData(int timeoutMs) {
    ++waitCalls;
    longestWaitMs = std::max(longestWaitMs, timeoutMs);
    deliverDue();
    if (!received_.empty()) return true;
    const double now = clock_.monotonicSeconds();
    const double limit = now + std::max(timeoutMs, 0) / 1000.0;
    if (!pending_.empty() && pending_.front().at <= limit) {
        clock_.advance(std::max(pending_.front().at - now, 0.0));
        deliverDue();
        return !received_.empty();
    }
    clock_.advance(limit - now);
    return false;
}

}  // namespace sigcond::test
