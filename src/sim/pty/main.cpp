// sigcond-unit-sim: a signal conditioner on a pseudo-terminal, for tests and demonstrations.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/model/sim_options.h"
#include "sim/pty/pty_server.h"

namespace {

int wakeWrite = -1;

void onSignal(int signal) {
    const char request = signal == SIGUSR1 ? 's' : 'q';
    const auto ignored = write(wakeWrite, &request, 1);
    (void)ignored;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace sigcond::sim;
    std::string error;
    const auto options = parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "sigcond-unit-sim: %s\n%s", error.c_str(), kSimUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(kSimUsage, stdout);
        return 0;
    }
    UnitModel unit;
    if (!configureUnit(*options, unit, error)) {
        std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
        return 2;
    }

    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("sigcond-unit-sim: pipe");
        return 1;
    }
    wakeWrite = wake[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PtyServer server(unit);
    if (!server.start(options->linkPath, options->logPath, error)) {
        std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", server.devicePath().c_str());
    std::fflush(stdout);
    server.serve(wake[0]);
    return 0;
}
