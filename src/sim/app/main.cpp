// sigcond-unit-sim: a signal conditioner on a pseudo-terminal or a TCP port, for tests and
// demonstrations.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "sim/app/requests.h"
#include "sim/app/serve_pty.h"
#include "sim/model/sim_options.h"
#include "sim/net/listen_server.h"

namespace {

using namespace sigcond::sim;

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

int fail(const std::string& error, int status) {
    std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
    return status;
}

// Serves the one unit on a TCP port; prints the address it listens on first.
int serveListening(const SimOptions& options, UnitModel& unit, int noiseFrom, Requests& requests) {
    std::string error;
    ServedUnit served(unit);
    if (noiseFrom > 0) served.noiseFromFrame(noiseFrom);
    if (!served.openLog(options.logPath, error)) return fail(error, 1);
    ListenServer server(served);
    const net::ListenOutcome outcome = server.start(*options.listen, error);
    if (outcome != net::ListenOutcome::Listening)
        return fail(error, outcome == net::ListenOutcome::BadAddress ? 2 : 1);
    std::printf("%s\n", server.boundAddress().c_str());
    std::fflush(stdout);
    server.serve(requests);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
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
    if (units[0].listen && count > 1) return fail("--listen serves one unit: leave out --units", 2);
    if (units[0].listen && !units[0].linkPath.empty())
        return fail("--link names a pseudo-terminal, which --listen does not make", 2);
    std::vector<std::unique_ptr<UnitModel>> models;
    for (const SimOptions& options : units) {
        models.push_back(std::make_unique<UnitModel>());
        if (!configureUnit(options, *models.back(), error)) return fail(error, 2);
    }

    Requests requests;
    if (!installRequestHandlers(requests, error)) return fail(error, 1);
    if (units[0].listen) return serveListening(units[0], *models[0], noiseFrom, requests);
    return servePseudoTerminals(units, models, noiseFrom, requests);
}
