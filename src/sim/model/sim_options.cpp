#include "sim/model/sim_options.h"

#include <cstdlib>
#include <functional>

namespace sigcond::sim {

const char* const kSimUsage =
    "Usage: sigcond-unit-sim [options]\n"
    "Plays a signal conditioner on a pseudo-terminal, or with --listen on a TCP port. Prints\n"
    "the device path (or the address it listens on) as the first line, then serves until\n"
    "SIGTERM or SIGINT (Ctrl+C).\n"
    "\n"
    "  --type T             input type FP, PR, ST, TC, RTD, ACV or ACC (default TC)\n"
    "  --baud N             the baud rate the unit answers at (default 9600)\n"
    "  --parity P           the parity it answers at, O, E or N (default O); at any other\n"
    "                       baud rate or parity it answers garbage\n"
    "  --units N            serve N units, each on its own pseudo-terminal; their device\n"
    "                       paths come first, one per line. --type, --baud and --parity then\n"
    "                       take comma-separated lists, cycled over the units (--units 4\n"
    "                       --baud 9600,4800 --parity O,E,N: 9600,O 4800,E 9600,N 4800,O);\n"
    "                       every other option applies to all of them\n"
    "  --link PATH          make PATH a symbolic link to the device (removed on exit); with\n"
    "                       several units PATH-1, PATH-2, ...\n"
    "  --listen HOST:PORT   serve the unit on a TCP port instead (PORT 0: any free one; the\n"
    "                       first line says ADDRESS:PORT), raw bytes as a socket://HOST:PORT\n"
    "                       address reaches it, one client at a time; the unit takes what\n"
    "                       comes as sent at its own --baud and --parity. The only way on\n"
    "                       Windows; not with --units or --link\n"
    "  --log FILE           append every frame received, one per line, with the line\n"
    "                       settings it arrived at: \"4800,E,7,1 U01\"; with several units\n"
    "                       one log each, FILE-1, FILE-2, ...\n"
    "  --reading VALUE      the reading \"X01\" answers (default 0)\n"
    "  --decimals N         decimals shown in readings (default 2)\n"
    "  --wave C,A,S         a slow sine reading: centre C, amplitude A, period S seconds\n"
    "  --reading-text TEXT  the reading text as it is, e.g. \"?+99999\" (over-range),\n"
    "                       \"?-99999\", \"   E   \" (an \"E\" report)\n"
    "  --count              the reading counts the readings answered: 1, 2, 3 ...\n"
    "  --register RR=HEX    initial contents of a register, e.g. 0D=14\n"
    "  --gate-seconds S     frequency unit: measuring time (default from register 0D)\n"
    "\n"
    "Faults (a command is a full command such as W0814 or a head such as R05):\n"
    "  --silent             answer nothing\n"
    "  --silent-from N      answer nothing from the N-th frame on\n"
    "  --silent-for CMD     never answer this command (repeatable, or comma-separated)\n"
    "  --drop-every N       answer nothing to every N-th frame (a flaky line)\n"
    "  --reject CMD=N       answer \"?\" to this command N times (repeatable)\n"
    "  --noise TEXT         send TEXT ahead of every reply\n"
    "  --partial N          cut replies to N characters, without the carriage return\n"
    "  --partial-for CMD    cut only the replies to these commands (repeatable)\n"
    "  --delay MS           wait MS milliseconds before replying\n"
    "  --wire-time          send each reply character at the pace of the line's baud rate\n"
    "  --ignore-write RR    answer writes to register RR but keep the old value\n"
    "\n"
    "Faults now and then (for long runs; the frame log marks each frame hit, \" !reject\"):\n"
    "  --silence-every S,D  in every S seconds from the first frame, answer nothing for the\n"
    "                       last D seconds\n"
    "  --reject-every N     answer \"?\" to every N-th reading request\n"
    "  --noise-every N      send the --noise text ahead of every N-th reading reply only\n"
    "\n"
    "Signals (not on Windows): SIGUSR1 switches \"answer nothing\" on and off.\n";

namespace {

std::vector<std::string> splitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0') return std::nullopt;
    return value;
}

std::optional<int> parseCount(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value || *value < 0 || *value != static_cast<int>(*value)) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

std::optional<ListenAddress> parseListenAddress(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) return std::nullopt;
    std::string host = text.substr(0, colon);
    const std::string port = text.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    } else if (host.find_first_of("[]:") != std::string::npos) {
        return std::nullopt;  // an IPv6 address goes in brackets
    }
    if (host.empty() || host.size() > 253 || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos || std::stoi(port) > 65535) {
        return std::nullopt;
    }
    return ListenAddress{host, static_cast<std::uint16_t>(std::stoi(port))};
}

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    int baud = 9600;
    std::string parity = "O";
    std::optional<int> decimals;
    using Handler = std::function<bool(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--type",
         [&](const std::string& v) {
             const auto type = unitTypeFromText(v);
             if (type) options.type = *type;
             return type.has_value();
         }},
        {"--baud",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n && *n > 0) baud = *n;
             return n && *n > 0;
         }},
        {"--parity",
         [&](const std::string& v) {
             parity = v;
             return true;
         }},
        {"--units",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n && *n > 0) options.units = *n;
             return n && *n > 0;
         }},
        {"--listen",
         [&](const std::string& v) {
             options.listen = parseListenAddress(v);
             return options.listen.has_value();
         }},
        {"--link",
         [&](const std::string& v) {
             options.linkPath = v;
             return !v.empty();
         }},
        {"--log",
         [&](const std::string& v) {
             options.logPath = v;
             return !v.empty();
         }},
        {"--reading",
         [&](const std::string& v) {
             const auto n = parseNumber(v);
             if (n) options.reading = ReadingSource::fixed(*n, options.reading.decimals);
             return n.has_value();
         }},
        {"--decimals",
         [&](const std::string& v) {
             decimals = parseCount(v);
             return decimals && *decimals <= 5;
         }},
        {"--wave",
         [&](const std::string& v) {
             const auto parts = splitList(v, ',');
             if (parts.size() != 3) return false;
             const auto c = parseNumber(parts[0]), a = parseNumber(parts[1]),
                        s = parseNumber(parts[2]);
             if (!c || !a || !s || *s <= 0) return false;
             options.reading = ReadingSource::wave(*c, *a, *s, options.reading.decimals);
             return true;
         }},
        {"--reading-text",
         [&](const std::string& v) {
             options.reading = ReadingSource::verbatim(v);
             return true;
         }},
        {"--register",
         [&](const std::string& v) {
             const auto parts = splitList(v, '=');
             if (parts.size() != 2) return false;
             options.registers[parts[0]] = parts[1];
             return true;
         }},
        {"--gate-seconds",
         [&](const std::string& v) {
             const auto n = parseNumber(v);
             if (n && *n >= 0) options.gateSeconds = *n;
             return n && *n >= 0;
         }},
        {"--silent-from",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n) options.faults.silentFromFrame = *n;
             return n.has_value();
         }},
        {"--drop-every",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n) options.faults.dropEvery = *n;
             return n.has_value();
         }},
        {"--silent-for",
         [&](const std::string& v) {
             for (const auto& command : splitList(v, ','))
                 options.faults.silentCommands.insert(command);
             return true;
         }},
        {"--reject",
         [&](const std::string& v) {
             const auto parts = splitList(v, '=');
             const auto n = parts.size() == 2 ? parseCount(parts[1]) : std::nullopt;
             if (n) options.faults.rejections[parts[0]] = *n;
             return n.has_value();
         }},
        {"--noise",
         [&](const std::string& v) {
             options.faults.noise = v;
             return true;
         }},
        {"--partial",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n) options.faults.partialLength = *n;
             return n.has_value();
         }},
        {"--partial-for",
         [&](const std::string& v) {
             for (const auto& command : splitList(v, ','))
                 options.faults.partialCommands.insert(command);
             return true;
         }},
        {"--delay",
         [&](const std::string& v) {
             const auto n = parseNumber(v);
             if (n && *n >= 0) options.faults.replyDelaySeconds = *n / 1000.0;
             return n && *n >= 0;
         }},
        {"--silence-every",
         [&](const std::string& v) {
             const auto parts = splitList(v, ',');
             if (parts.size() != 2) return false;
             const auto period = parseNumber(parts[0]), length = parseNumber(parts[1]);
             if (!period || !length || *length <= 0 || *length >= *period) return false;
             options.faults.silencePeriodSeconds = *period;
             options.faults.silenceSeconds = *length;
             return true;
         }},
        {"--reject-every",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n) options.faults.rejectEvery = *n;
             return n && *n > 0;
         }},
        {"--noise-every",
         [&](const std::string& v) {
             const auto n = parseCount(v);
             if (n) options.faults.noiseEvery = *n;
             return n && *n > 0;
         }},
        {"--ignore-write",
         [&](const std::string& v) {
             options.faults.ignoredWrites.insert(v);
             return v.size() == 2;
         }},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--silent") {
            options.faults.silent = true;
        } else if (arg == "--wire-time") {
            options.faults.wireTime = true;
        } else if (arg == "--count") {
            options.reading = ReadingSource::counting(options.reading.decimals);
        } else if (const auto found = withValue.find(arg); found != withValue.end()) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            if (!found->second(args[++i])) {
                error = "bad value for " + arg + ": " + args[i] +
                        (arg == "--listen" ? " (HOST:PORT, PORT from 0 to 65535)" : "");
                return std::nullopt;
            }
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
    }
    const auto line = LineSettings::parse(std::to_string(baud) + "," + parity);
    if (!line) {
        error = "bad parity: " + parity;
        return std::nullopt;
    }
    options.faults.answerAt = *line;
    if (decimals) options.reading.decimals = *decimals;
    return options;
}

std::vector<std::string> argumentsForUnit(const std::vector<std::string>& args, std::size_t index) {
    std::vector<std::string> chosen = args;
    for (std::size_t i = 0; i + 1 < chosen.size(); ++i) {
        if (chosen[i] != "--type" && chosen[i] != "--baud" && chosen[i] != "--parity") continue;
        const auto values = splitList(chosen[i + 1], ',');
        chosen[++i] = values[index % values.size()];
    }
    return chosen;
}

bool configureUnit(const SimOptions& options, UnitModel& unit, std::string& error) {
    unit.setType(options.type);
    unit.setReading(options.reading);
    unit.faults() = options.faults;
    unit.setGateSeconds(options.gateSeconds);
    for (const auto& [number, value] : options.registers) {
        if (!unit.setRegister(number, value)) {
            error = "register " + number + " does not take " + value;
            return false;
        }
    }
    return true;
}

}  // namespace sigcond::sim
