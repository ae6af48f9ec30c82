// sigcond-cli: the set-up program's work without a screen, for scripts on the bench and the
// production line. Identifies units, reads, saves and sends configurations and captures live
// readings; several units are served side by side, one worker thread per port.
#ifndef _WIN32
#include <unistd.h>  // environ (Windows declares it in <cstdlib>)
#endif

#include <QCoreApplication>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <thread>

#include "cli/port_names.h"
#include "cli/progress_board.h"
#include "cli/stop_request.h"
#include "cli/unit_session.h"
#include "link/port_url.h"
#include "qt/port_devices.h"
#include "records/config_file.h"

namespace sigcond::cli {
namespace {

constexpr int kExitUnitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: sigcond-cli COMMAND ...\n"
    "  ports                                  list the serial ports and their \"Com n\"\n"
    "  identify PORT[,PORT...]                find line settings and input type\n"
    "  read PORT [--save FILE.CFG] [--json]   read and show the configuration\n"
    "  read PORT,PORT... --save DIR           read several units, one PORT.CFG each in DIR\n"
    "  send PORT[,PORT...] FILE.CFG [--verify] send a configuration file\n"
    "  monitor PORT [--seconds N] [--csv FILE] live readings every 450 ms\n"
    "PORT is a device path, COMn, rfc2217://HOST:PORT or socket://HOST:PORT; any number of\n"
    "ports, comma-separated, are served side by side. On a terminal each unit's progress is\n"
    "shown as it goes. Exit codes: 0 success, 1 a unit failed, 2 bad usage or a file error.\n";

int usageError(const std::string& text) {
    std::cerr << "sigcond-cli: " << text << "\n" << kUsage;
    return kExitUsage;
}

struct Options {
    std::vector<std::string> positional;
    bool json = false;
    bool verify = false;
    std::string save;
    std::string csv;
    double seconds = -1;
};

// Parses the words after the command. Returns false (with `error`) for an unknown option or a
// missing value.
bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = word + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (word == "--json") {
            o.json = true;
        } else if (word == "--verify") {
            o.verify = true;
        } else if (word == "--save") {
            if (!value(o.save)) return false;
        } else if (word == "--csv") {
            if (!value(o.csv)) return false;
        } else if (word == "--seconds") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            o.seconds = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !(o.seconds >= 0)) {
                error = "--seconds wants a number of seconds, not \"" + text + "\"";
                return false;
            }
        } else if (word.size() > 2 && word.rfind("--", 0) == 0) {
            error = "unknown option " + word;
            return false;
        } else {
            o.positional.push_back(word);
        }
    }
    return true;
}

// Runs `work` for every port, each in its own thread (a session's serial port lives in the
// thread that made it), and returns the results in port order. On a terminal the units'
// progress is drawn meanwhile.
std::vector<UnitResult> runOnEachPort(
    const std::vector<NamedPort>& ports,
    const std::function<UnitResult(UnitSession&, std::size_t unit)>& work) {
    std::vector<UnitResult> results(ports.size());
    std::unique_ptr<ProgressBoard> board;
    int columns = 0, rows = 0;
    if (progressTerminal(columns, rows)) {
        std::vector<std::string> labels;
        for (const NamedPort& port : ports) labels.push_back(port.label);
        board = std::make_unique<ProgressBoard>(labels, stdout, columns, rows);
    }
    // Qt threads, not bare ones: the serial port's notifiers want a thread Qt knows.
    std::vector<std::unique_ptr<QThread>> workers;
    for (std::size_t n = 0; n < ports.size(); ++n) {
        workers.emplace_back(QThread::create([&, n] {
            ProgressFn progress;
            if (board) progress = [&board, n](const std::string& step) { board->setStep(n, step); };
            {
                UnitSession session(ports[n].label, ports[n].number, progress);
                results[n] = work(session, n);
            }
            if (board) board->setResult(n, results[n].outcome == Outcome::Done, results[n].summary);
        }));
        workers.back()->start();
    }
    if (board) board->run();
    for (auto& worker : workers) worker->wait();
    return results;
}

// Prints each unit's output and errors, the summary table for more than one port, and
// returns the exit code. With JSON output the table is left out, so that standard output
// holds one JSON object per unit and nothing else.
int report(const std::vector<NamedPort>& ports, const std::vector<UnitResult>& results,
           bool table = true) {
    int code = 0;
    for (std::size_t n = 0; n < results.size(); ++n) {
        std::cout << results[n].output;
        for (const std::string& e : results[n].errors) std::cerr << "sigcond-cli: " << e << "\n";
        if (results[n].outcome == Outcome::FileError) code = kExitUsage;
        if (results[n].outcome == Outcome::UnitFailed && code == 0) code = kExitUnitFailed;
    }
    if (table && ports.size() > 1) {
        std::size_t width = 4;
        for (const NamedPort& port : ports) width = std::max(width, port.label.size());
        std::cout << "\n" << std::string("PORT") + std::string(width - 4 + 2, ' ') << "RESULT\n";
        for (std::size_t n = 0; n < ports.size(); ++n) {
            std::cout << ports[n].label << std::string(width - ports[n].label.size() + 2, ' ')
                      << (results[n].outcome == Outcome::Done ? "ok    " : "FAILED") << "  "
                      << results[n].summary << "\n";
        }
    }
    std::cout.flush();
    return code;
}

// The numbers n of every SIGCOND_COM<n> set.
std::set<int> numbersInEnvironment() {
    std::set<int> numbers;
    constexpr std::string_view prefix = "SIGCOND_COM";
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text = *entry;
        if (text.substr(0, prefix.size()) != prefix) continue;
        const std::string_view rest = text.substr(prefix.size());
        const std::string_view digits = rest.substr(0, rest.find('='));
        if (digits.size() == rest.size() || digits.empty() || digits.size() > 4 ||
            digits[0] == '0' ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        numbers.insert(std::stoi(std::string(digits)));
    }
    return numbers;
}

int listPorts() {
    const std::vector<PortDevice> infos = listedPortDevices();
    // Every "Com n" that stands for something: the n-th port the system lists, and every
    // SIGCOND_COM<n> set (a device, a pseudo-terminal, a device server's URL).
    std::set<int> numbers = numbersInEnvironment();
    for (std::size_t i = 0; i < infos.size(); ++i) numbers.insert(listedComNumber(i, infos[i]));
    std::map<int, std::string> mapped;
    for (const int n : numbers) {
        if (std::string device = comPortDevice(n); !device.empty()) mapped[n] = device;
    }
    for (const PortDevice& info : infos) {
        const std::string& path = info.path;
        std::string com = "-";
        for (const auto& [n, device] : mapped) {
            if (device == path) {
                com = "COM" + std::to_string(n);
                break;
            }
        }
        std::cout << com << "\t" << path << "\t" << info.description << "\t"
                  << info.manufacturer << "\t" << info.serialNumber << "\n";
    }
    // "Com n" set to what the system does not list.
    for (const auto& [n, device] : mapped) {
        bool listed = false;
        for (const PortDevice& info : infos) listed |= info.path == device;
        if (!listed) {
            std::cout << "COM" << n << "\t" << device << "\t"
                      << (isPortUrl(device) ? describePortUrl(device) : "") << "\t\t\n";
        }
    }
    if (infos.empty() && mapped.empty()) std::cerr << "sigcond-cli: no serial ports found\n";
    return 0;
}

// Refuses two ports of the list that stand for the same device or URL ("COM1" and the device
// SIGCOND_COM1 names): two sessions on one line would garble each other's frames.
// The names a network address is known by, whatever its scheme: "HOST:PORT" for the host as
// written (in lower case) and for every address it resolves to (looked up for at most 3 s, as
// the port's own open does).
std::vector<std::string> endpointKeys(const PortUrl& url) {
    const auto key = [&](const QString& host) {
        return host.toLower().toStdString() + ":" + std::to_string(url.port);
    };
    std::vector<std::string> keys{key(QString::fromStdString(url.host))};
    QHostAddress literal;
    if (literal.setAddress(QString::fromStdString(url.host))) {
        keys.push_back(key(literal.toString()));
        return keys;
    }
    auto lookup = std::make_shared<std::promise<QList<QHostAddress>>>();
    auto found = lookup->get_future();
    std::thread([lookup, host = QString::fromStdString(url.host)] {
        lookup->set_value(QHostInfo::fromName(host).addresses());
    }).detach();
    if (found.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
        for (const QHostAddress& address : found.get()) keys.push_back(key(address.toString()));
    }
    return keys;
}

// Refuses a run that names one port twice (two paths to one device, two addresses of one
// server's port) before any unit is served, and an address that is malformed.
bool samePortTwice(const std::vector<NamedPort>& ports, std::string& error) {
    std::map<std::string, std::string> seen;
    for (const NamedPort& port : ports) {
        const std::string device = comPortDevice(port.number);
        if (device.empty()) continue;
        std::vector<std::string> keys;
        if (isPortUrl(device)) {
            const auto url = parsePortUrl(device, error);
            if (!url) return true;
            keys = endpointKeys(*url);
        } else {
            keys = {sameDeviceKey(device)};
        }
        for (const std::string& key : keys) {
            if (const auto at = seen.find(key); at != seen.end() && at->second != port.label) {
                error = "ports " + at->second + " and " + port.label + " are the same port (" +
                        key + ")";
                return true;
            }
        }
        for (const std::string& key : keys) seen.emplace(key, port.label);
    }
    return false;
}

int run(int argc, char** argv) {
    if (argc < 2) return usageError("no command given");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    Options o;
    std::string error;
    if (!parseOptions(argc, argv, o, error)) return usageError(error);
    if (command == "ports") {
        if (!o.positional.empty()) return usageError("ports takes no arguments");
        return listPorts();
    }
    if (o.positional.empty()) return usageError(command + " needs a PORT");
    auto ports = parsePortList(o.positional[0], error);
    if (!ports) return usageError(error);
    mapDevicePorts(*ports);
    if (samePortTwice(*ports, error)) return usageError(error);
    const bool many = ports->size() > 1;
    // From here on Ctrl+C and SIGTERM end every session at its next wait slice, the ports
    // closed and what was written kept.
    installStopHandlers();

    if (command == "identify") {
        if (o.positional.size() != 1 || o.json || o.verify || !o.save.empty() || !o.csv.empty())
            return usageError("identify takes only PORT");
        return report(*ports, runOnEachPort(*ports, [](UnitSession& s, std::size_t) {
            return s.identify();
        }));
    }
    if (command == "read") {
        if (o.positional.size() != 1 || o.verify || !o.csv.empty())
            return usageError("read takes PORT [--save FILE.CFG] [--json]");
        const bool toFolder =
            !o.save.empty() && (many || QFileInfo(QString::fromStdString(o.save)).isDir());
        if (many && o.save.empty()) return usageError("several ports need --save DIR");
        if (many && !QFileInfo(QString::fromStdString(o.save)).isDir())
            return usageError(o.save + " is not a folder");
        std::vector<std::string> paths(ports->size(), o.save);
        if (toFolder) {
            const auto names = saveFileNames(*ports, error);
            if (!names) return usageError(error);
            for (std::size_t n = 0; n < paths.size(); ++n) paths[n] = o.save + "/" + (*names)[n];
        }
        const bool json = o.json;
        const auto readOne = [&](UnitSession& s, std::size_t unit) {
            return s.read(json, paths[unit]);
        };
        return report(*ports, runOnEachPort(*ports, readOne), !json);
    }
    if (command == "send") {
        if (o.positional.size() != 2 || o.json || !o.save.empty() || !o.csv.empty())
            return usageError("send takes PORT FILE.CFG [--verify]");
        const std::string path = o.positional[1];
        std::string text;
        if (const int e = readWholeFile(path, text); e != 0) {
            std::cerr << "sigcond-cli: " << path << ": "
                      << loadMessage(problemOfError(e, path, true)) << "\n";
            return kExitUsage;
        }
        const bool verify = o.verify;
        return report(*ports, runOnEachPort(*ports, [&](UnitSession& s, std::size_t) {
            return s.send(text, path, verify);
        }));
    }
    if (command == "monitor") {
        if (o.positional.size() != 1 || many || o.json || o.verify || !o.save.empty())
            return usageError("monitor takes one PORT [--seconds N] [--csv FILE]");
        std::ofstream csv;
        if (!o.csv.empty()) {
            csv.open(o.csv, std::ios::binary | std::ios::trunc);
            if (!csv) {
                std::cerr << "sigcond-cli: " << o.csv << ": cannot be written\n";
                return kExitUsage;
            }
            csv << "timestamp,reading,number,output\r\n";
        }
        // The seconds count from the first reading: the line-settings search and the
        // configuration read before it take as long as they take.
        std::optional<std::chrono::steady_clock::time_point> firstReading;
        const double seconds = o.seconds;
        const auto keepGoing = [&] {
            if (stopRequested()) return false;
            if (seconds < 0 || !firstReading) return true;
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - *firstReading)
                       .count() < seconds;
        };
        const auto onSample = [&](const LiveSample& s) {
            if (!firstReading) firstReading = std::chrono::steady_clock::now();
            char number[64], output[64];
            std::snprintf(number, sizeof number, "%.6g", s.number);
            std::snprintf(output, sizeof output, "%.3f", s.output);
            if (!s.answered) {
                std::cout << s.timestamp << "  (no answer)" << std::endl;
                if (csv) csv << s.timestamp << ",,,\r\n";
                return;
            }
            std::cout << s.timestamp << "  " << toTerminal(s.reading) << "  " << output
                      << std::endl;
            if (csv) {
                std::string quoted = "\"";
                for (char c : toTerminal(s.reading))
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                csv << s.timestamp << "," << quoted << "\"," << number << "," << output << "\r\n";
                csv.flush();
            }
        };
        UnitResult result;
        {
            UnitSession session((*ports)[0].label, (*ports)[0].number);
            result = session.monitor(keepGoing, onSample);
        }
        return report(*ports, {result});
    }
    return usageError("unknown command " + command);
}

}  // namespace
}  // namespace sigcond::cli

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return sigcond::cli::run(argc, argv);
}
