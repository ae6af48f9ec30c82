#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "sim/app/requests.h"

namespace sigcond::sim {

namespace {

Requests* noted = nullptr;
int wakeWrite = -1;

void onSignal(int signal) {
    if (signal == SIGUSR1) {
        noted->silenceToggles.fetch_add(1);
    } else {
        noted->stop.store(true);
    }
    const char wake = 0;
    const auto ignored = write(wakeWrite, &wake, 1);
    (void)ignored;
}

}  // namespace

bool installRequestHandlers(Requests& requests, std::string& error) {
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    noted = &requests;
    wakeWrite = wake[1];
    requests.wakeFd = wake[0];
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

}  // namespace sigcond::sim
