// Network ports: "rfc2217://HOST:PORT" for a serial device server that sets the line on
// request (Telnet with COM-PORT-OPTION), "socket://HOST:PORT" for plain TCP to a server that
// keeps its own line settings. Wherever a port is named, such an address stands beside local
// device paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sigcond {

struct PortUrl {
    bool lineControl = false;  // rfc2217:// (true) or socket:// (false)
    std::string host;          // name or address; an IPv6 address without its brackets
    std::uint16_t port = 0;
};

// True for anything written as an address ("scheme://..."), valid or not: such a name is never
// a device path.
bool isPortUrl(std::string_view name);

// The address, or nothing with `error` saying what is wrong with it.
std::optional<PortUrl> parsePortUrl(std::string_view text, std::string& error);

// What an address stands for, as the port chooser and `sigcond-cli ports` show it: the kind of
// server, or what is wrong with the address.
std::string describePortUrl(std::string_view address);

}  // namespace sigcond
