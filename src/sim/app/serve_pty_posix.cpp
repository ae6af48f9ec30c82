#include <cstdio>

#include "sim/app/serve_pty.h"
#include "sim/pty/pty_server.h"

namespace sigcond::sim {

int servePseudoTerminals(const std::vector<SimOptions>& units,
                         const std::vector<std::unique_ptr<UnitModel>>& models, int noiseFrom,
                         Requests& requests) {
    std::vector<std::unique_ptr<ServedUnit>> served;
    std::vector<std::unique_ptr<PtyServer>> servers;
    std::vector<PtyServer*> serving;
    std::string error;
    for (std::size_t n = 0; n < models.size(); ++n) {
        // Several units: each its own link and log, numbered from 1.
        const auto own = [&](const std::string& path) {
            return path.empty() || models.size() == 1 ? path : path + "-" + std::to_string(n + 1);
        };
        served.push_back(std::make_unique<ServedUnit>(*models[n]));
        if (noiseFrom > 0) served.back()->noiseFromFrame(noiseFrom);
        servers.push_back(std::make_unique<PtyServer>(*served.back()));
        if (!served.back()->openLog(own(units[n].logPath), error) ||
            !servers.back()->start(own(units[n].linkPath), error)) {
            std::fprintf(stderr, "sigcond-unit-sim: %s\n", error.c_str());
            return 1;
        }
        serving.push_back(servers.back().get());
    }
    for (const PtyServer* server : serving) std::printf("%s\n", server->devicePath().c_str());
    std::fflush(stdout);
    PtyServer::serve(serving, requests);
    return 0;
}

}  // namespace sigcond::sim
