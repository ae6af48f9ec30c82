// Configuring several units at once: the time sigcond-cli takes to send one configuration to
// four simulated units side by side, divided by the time for one unit, with the wire time of
// every reply character emulated at 9600 baud. Prints "send_4_units_vs_1 <ratio> x".
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/sim_process.h"

using sigcond::test::SimProcess;

namespace {

const std::string kCli = std::string(SIGCOND_BIN_DIR) + "/sigcond-cli";

int runQuietly(const std::string& arguments) {
    const int status = std::system((kCli + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Seconds for one send to every port of the list (best of `rounds`).
double secondsToSend(const std::string& list, const std::string& file, int rounds) {
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        if (runQuietly("send " + list + " " + file) != 0) {
            std::fprintf(stderr, "cli_bench: send to %s failed\n", list.c_str());
            std::exit(1);
        }
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (s < best) best = s;
    }
    return best;
}

}  // namespace

int main() {
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int n = 0; n < 4; ++n) {
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{
            "--wire-time", "--register", "3C=500000100000", "--register", "3D=5186A01003E8"}));
        if (!sims.back()->start()) {
            std::fprintf(stderr, "cli_bench: %s\n", sims.back()->error().c_str());
            return 1;
        }
    }
    char folder[] = "/tmp/sigcond-cli-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string file = std::string(folder) + "/unit.CFG";
    if (runQuietly("read " + sims[0]->linkPath() + " --save " + file) != 0) {
        std::fprintf(stderr, "cli_bench: reading the configuration failed\n");
        return 1;
    }
    std::string all;
    for (auto& sim : sims) all += (all.empty() ? "" : ",") + sim->linkPath();
    const double one = secondsToSend(sims[0]->linkPath(), file, 3);
    const double four = secondsToSend(all, file, 3);
    std::printf("send_4_units_vs_1 %.3f x\n", four / one);
    std::remove(file.c_str());
    return 0;
}
