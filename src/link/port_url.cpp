#include "link/port_url.h"

#include <algorithm>
#include <cctype>

namespace sigcond {

namespace {

constexpr std::string_view kSeparator = "://";
constexpr std::size_t kMaxHostLength = 253;  // the longest name the DNS can carry

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool nameCharacter(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_'; }
bool ipv6Character(unsigned char c) { return std::isxdigit(c) || c == ':' || c == '.'; }

}  // namespace

bool isPortUrl(std::string_view name) { return name.find(kSeparator) != std::string_view::npos; }

std::optional<PortUrl> parsePortUrl(std::string_view text, std::string& error) {
    const std::string whole(text);
    const std::size_t separator = text.find(kSeparator);
    if (separator == std::string_view::npos) {
        error = whole + " is not a network address (rfc2217://HOST:PORT or socket://HOST:PORT)";
        return std::nullopt;
    }
    PortUrl url;
    const std::string scheme = lower(text.substr(0, separator));
    if (scheme == "rfc2217") {
        url.lineControl = true;
    } else if (scheme != "socket") {
        error = whole + ": unknown kind of address \"" + std::string(text.substr(0, separator)) +
                "\" (rfc2217:// or socket://)";
        return std::nullopt;
    }
    std::string_view rest = text.substr(separator + kSeparator.size());
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);

    std::string_view host;
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            error = whole + ": an IPv6 address is written [ADDRESS]:PORT";
            return std::nullopt;
        }
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
        if (host.empty() || !std::all_of(host.begin(), host.end(), ipv6Character)) {
            error = whole + ": \"" + std::string(host) + "\" is not an IPv6 address";
            return std::nullopt;
        }
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) {
            error = whole + ": the port number is missing (HOST:PORT)";
            return std::nullopt;
        }
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (host.empty() || host.size() > kMaxHostLength ||
            !std::all_of(host.begin(), host.end(), nameCharacter)) {
            error = whole + ": \"" + std::string(host) + "\" is not a host name or address";
            return std::nullopt;
        }
    }
    unsigned long number = 0;
    const bool digits =
        !port.empty() && port.size() <= 5 &&
        std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    if (digits) number = std::stoul(std::string(port));
    if (!digits || number < 1 || number > 65535) {
        error = whole + ": \"" + std::string(port) + "\" is not a port number (1 to 65535)";
        return std::nullopt;
    }
    url.host = std::string(host);
    url.port = static_cast<std::uint16_t>(number);
    return url;
}

std::string describePortUrl(std::string_view address) {
    std::string error;
    const auto url = parsePortUrl(address, error);
    if (!url) return error;
    return url->lineControl ? "device server, line settings set by the program"
                            : "device server at its own line settings";
}

}  // namespace sigcond
