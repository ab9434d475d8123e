#include "platform/net/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kv {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
    throw ESocketConnectionError(what + ": " + std::strerror(error));
}

void SetNoDelay(int fd) {
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // Keep-alive lets a server notice a client whose machine vanished without a word.
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
}

// Connects fd to one resolved address within timeoutMs; returns 0 or the errno.
int ConnectOne(int fd, const addrinfo& address, int timeoutMs) {
    const int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = connect(fd, address.ai_addr, address.ai_addrlen);
    int error = rc == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd waiter{fd, POLLOUT, 0};
        rc = poll(&waiter, 1, timeoutMs > 0 ? timeoutMs : -1);
        if (rc == 0) {
            error = ETIMEDOUT;
        } else if (rc < 0) {
            error = errno;
        } else {
            socklen_t length = sizeof error;
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        }
    }
    fcntl(fd, F_SETFL, flags);
    return error;
}

}  // namespace

TTcpSocket::~TTcpSocket() {
    Close();
}

TTcpSocket::TTcpSocket(TTcpSocket&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

TTcpSocket& TTcpSocket::operator=(TTcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

TTcpSocket TTcpSocket::Connect(const std::string& host, int port, int timeoutMs) {
    const std::string where = host + ":" + std::to_string(port);
    if (port <= 0 || port > 65535) throw ESocketConnectionError("Invalid port for " + where);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0)
        throw ESocketConnectionError("Cannot resolve " + where + ": " + gai_strerror(rc));
    int error = ECONNREFUSED;
    for (addrinfo* address = found; address; address = address->ai_next) {
        const int fd =
            socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
        if (fd < 0) {
            error = errno;
            continue;
        }
        error = ConnectOne(fd, *address, timeoutMs);
        if (error == 0) {
            freeaddrinfo(found);
            SetNoDelay(fd);
            return TTcpSocket(fd);
        }
        ::close(fd);
    }
    freeaddrinfo(found);
    Fail("Cannot connect to " + where, error);
}

void TTcpSocket::SendAll(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd_, bytes, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            Fail("Send failed", errno == EAGAIN ? ETIMEDOUT : errno);
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

bool TTcpSocket::ReceiveAll(void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::recv(fd_, bytes + done, size - done, 0);
        if (got == 0) {
            if (done == 0) return false;
            throw ESocketConnectionError("Connection closed in the middle of a message");
        }
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("Receive failed", errno == EAGAIN ? ETIMEDOUT : errno);
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

void TTcpSocket::SetTimeout(int timeoutMs) {
    timeval limit{};
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

void TTcpSocket::Shutdown() {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

void TTcpSocket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::string TTcpSocket::PeerName() const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return "?";
    char host[NI_MAXHOST];
    char port[NI_MAXSERV];
    if (getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host, port,
                    sizeof port, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "?";
    return std::string(host) + ":" + port;
}

TTcpListener::TTcpListener(const std::string& address, int port) {
    const std::string where = (address.empty() ? "*" : address) + ":" + std::to_string(port);
    if (port < 0 || port > 65535) throw ESocketConnectionError("Invalid port for " + where);
    addrinfo hints{};
    hints.ai_family = address.empty() ? AF_INET : AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(address.empty() ? nullptr : address.c_str(), service.c_str(),
                                   &hints, &found);
        rc != 0)
        throw ESocketConnectionError("Invalid listen address " + where + ": " + gai_strerror(rc));
    fd_ = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd_ < 0) {
        freeaddrinfo(found);
        Fail("Cannot create a socket for " + where, errno);
    }
    const int one = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const int bound = bind(fd_, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (bound != 0 || listen(fd_, 128) != 0) {
        const int error = errno;
        ::close(fd_);
        Fail("Cannot listen on " + where, error);
    }
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length);
    port_ = ntohs(local.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&local)->sin6_port
                                              : reinterpret_cast<sockaddr_in*>(&local)->sin_port);
}

TTcpListener::~TTcpListener() {
    ::close(fd_);
}

TTcpSocket TTcpListener::Accept(int timeoutMs) {
    pollfd waiter{fd_, POLLIN, 0};
    const int rc = poll(&waiter, 1, timeoutMs);
    if (rc <= 0) return TTcpSocket();
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return TTcpSocket();
    SetNoDelay(fd);
    return TTcpSocket(fd);
}

}  // namespace kv
