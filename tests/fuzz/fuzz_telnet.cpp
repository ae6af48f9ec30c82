// Feeds arbitrary bytes from a device server through the Telnet codec, in pieces of varying
// size: the data it returns is never longer than what came in, its answers stay bounded, and
// whatever it encodes comes back unchanged through a codec at the same state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/telnet_codec.h"

using namespace sigcond::telnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool lineControl = data[0] & 1;
    const std::size_t piece = 1 + data[1] % 17;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    Codec codec(lineControl);
    if (data[0] & 2) codec.opening();
    std::size_t received = 0;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::string_view part = bytes.substr(at, piece);
        received += codec.receive(part).size();
        if (received > at + part.size()) std::abort();
        if (codec.takeReplies().size() > 4096) std::abort();
    }
    if (codec.acknowledgedCount() > 4) std::abort();

    // What goes out is read back as it was by a codec that agrees on binary transmission the
    // same way.
    Codec peer(lineControl);
    if (codec.localEnabled(kBinary)) peer.receive(std::string("\xff\xfb\x00", 3));
    const std::string back = peer.receive(codec.encode(bytes));
    if (back != bytes) std::abort();
    (void)codec.lineSettingsCommands(parseLineSettings(bytes));
    return 0;
}
