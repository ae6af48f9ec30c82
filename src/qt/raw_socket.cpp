// What the systems' socket calls share: the name lookup.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include "qt/raw_socket.h"

namespace sigcond::raw_socket {

std::string lookUp(const std::string& host, std::uint16_t port, bool numeric,
                   const AddressSink& found) {
    if (!socketsReady()) return "Winsock could not be started";
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    if (numeric) hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const std::string service = std::to_string(port);
    addrinfo* list = nullptr;
    const int status =
        getaddrinfo(host.c_str(), port != 0 ? service.c_str() : nullptr, &hints, &list);
    for (const addrinfo* a = status == 0 ? list : nullptr; a; a = a->ai_next) {
        found(a->ai_addr, static_cast<int>(a->ai_addrlen));
    }
    if (list) freeaddrinfo(list);
    return status == 0 ? std::string() : lookupFailure(status);
}

}  // namespace sigcond::raw_socket
