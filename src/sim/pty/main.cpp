// sigcond-unit-sim: a signal conditioner on a pseudo-terminal, for tests and demonstrations.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "sim/model/sim_options.h"
#include "sim/pty/pty_server.h"

namespace {

int wakeWrite = -1;

constexpr const char* kNoiseFromUsage =
    "\nAlso:\n"
    "  --noise-from N       send the --noise text only from the N-th frame on\n";

// Takes "--noise-from N" out of the arguments: 0 when absent, -1 when its value is no count
// above 0.
int takeNoiseFrom(std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--noise-from") continue;
        if (i + 1 >= arguments.size()) return -1;
        char* end = nullptr;
        const long frame = std::strtol(arguments[i + 1].c_str(), &end, 10);
        if (*end != '\0' || frame < 1 || frame > 1000000) return -1;
        arguments.erase(arguments.begin() + static_cast<long>(i),
                        arguments.begin() + static_cast<long>(i) + 2);
        return static_cast<int>(frame);
    }
    return 0;
}

void onSignal(int signal) {
    const char request = signal == SIGUSR1 ? 's' : 'q';
    const auto ignored = write(wakeWrite, &request, 1);
    (void)ignored;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace sigcond::sim;
    std::string error;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const int noiseFrom = takeNoiseFrom(arguments);
    // Each unit's own options: the lists of --type, --baud and --parity cycled over the units.
    std::vector<SimOptions> units;
    std::size_t count = 1;
    for (std::size_t n = 0; noiseFrom >= 0 && n < count; ++n) {
        auto options = parseSimOptions(argumentsForUnit(arguments, n), error);
        if (!options) break;
        if (n == 0) count = static_cast<std::size_t>(options->units);
        units.push_back(*options);
    }
    if (noiseFrom < 0) error = "--noise-from needs a frame number from 1 on";
    if (units.size() < count) {
        std::fprintf(stderr, "sigcond-unit-sim: %s\n%s%s", error.c_str(), kSimUsage,
                     kNoiseFromUsage);
        return 2;
    }
    if (units[0].help) {
        std::fputs(kSimUsage, stdout);
        std::fputs(kNoiseFromUsage, stdout);
        return 0;
    }
    std::vector<std::unique_ptr<UnitModel>> models;
    for (const SimOptions& options : units) {
        models.push_back(std::make_unique<UnitModel>());
        if (!configureUnit(options, *models.back(), error)) {
            std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
            return 2;
        }
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

    std::vector<std::unique_ptr<PtyServer>> servers;
    std::vector<PtyServer*> serving;
    for (std::size_t n = 0; n < models.size(); ++n) {
        // Several units: each its own link and log, numbered from 1.
        const auto own = [&](const std::string& path) {
            return path.empty() || models.size() == 1 ? path : path + "-" + std::to_string(n + 1);
        };
        servers.push_back(std::make_unique<PtyServer>(*models[n]));
        if (noiseFrom > 0) servers.back()->noiseFromFrame(noiseFrom);
        if (!servers.back()->start(own(units[n].linkPath), own(units[n].logPath), error)) {
            std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
            return 1;
        }
        serving.push_back(servers.back().get());
    }
    for (const PtyServer* server : serving) std::printf("%s\n", server->devicePath().c_str());
    std::fflush(stdout);
    PtyServer::serve(serving, wake[0]);
    return 0;
}
