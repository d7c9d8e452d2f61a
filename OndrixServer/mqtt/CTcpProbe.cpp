#include "mqtt/CTcpProbe.h"

#include <cerrno>
#include <cstring>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// errno of the attempt: 0 once connected, EINPROGRESS when stopped first.
int Handshake(const addrinfo& address, const std::function<bool()>& stopping, int sliceMs)
{
    const int socket
        = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (socket < 0)
        return errno;
    int result = ::connect(socket, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
    pollfd writable { socket, POLLOUT, 0 };
    while (result == EINPROGRESS && !stopping()) {
        if (::poll(&writable, 1, sliceMs) <= 0)
            continue;
        socklen_t size = sizeof result;
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &result, &size) != 0)
            result = errno;
    }
    ::close(socket);
    return result;
}

} // namespace

bool CTcpProbe::Reach(const QString& host, int port, const std::function<bool()>& stopping, QString& error, int sliceMs)
{
    error.clear();
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found);
    if (lookup != 0) {
        error = QString::fromLocal8Bit(::gai_strerror(lookup));
        return false;
    }
    int result = ENOENT;
    for (const addrinfo* address = found; address && result != 0 && !stopping(); address = address->ai_next)
        result = Handshake(*address, stopping, sliceMs);
    ::freeaddrinfo(found);
    if (result != 0 && !stopping())
        error = QString::fromLocal8Bit(std::strerror(result));
    return result == 0;
}
