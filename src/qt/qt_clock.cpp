#include "qt/qt_clock.h"

#include <chrono>
#include <ctime>

namespace sigcond {

namespace {

std::string localTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}

}  // namespace

double SystemClock::monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string SystemClock::timeOfDay() { return localTime("%H:%M:%S"); }

std::string SystemClock::date() { return localTime("%m-%d-%Y"); }

}  // namespace sigcond
