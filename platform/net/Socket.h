// Blocking TCP sockets for the socket connection and the application-server daemon: connect
// with a time limit, send and receive whole buffers, listen on an address. Every failure raises
// ESocketConnectionError with the address and the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/Exceptions.h"

namespace kv {

class TTcpSocket {
public:
    TTcpSocket() = default;
    explicit TTcpSocket(int fd) : fd_(fd) {}
    ~TTcpSocket();
    TTcpSocket(TTcpSocket&& other) noexcept;
    TTcpSocket& operator=(TTcpSocket&& other) noexcept;
    TTcpSocket(const TTcpSocket&) = delete;
    TTcpSocket& operator=(const TTcpSocket&) = delete;

    // Connects to host (a name or a numeric address) and port within timeoutMs (0: the
    // system's own limit). Tries every address the name resolves to.
    static TTcpSocket Connect(const std::string& host, int port, int timeoutMs);

    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // Sends every byte or raises.
    void SendAll(const void* data, std::size_t size);
    // Receives exactly size bytes. Returns false when the peer closed the connection before
    // the first byte; raises when it closed in the middle or on any error or time-out.
    bool ReceiveAll(void* data, std::size_t size);
    // Limits how long one receive or send may wait (0: no limit).
    void SetTimeout(int timeoutMs);
    // Wakes a thread blocked on this socket: its receive then ends as a closed connection.
    void Shutdown();
    void Close();
    // The peer's address as "host:port", for logs.
    std::string PeerName() const;

private:
    int fd_ = -1;
};

class TTcpListener {
public:
    // Listens on address (numeric IPv4 or IPv6, or "" for every IPv4 address) and port; port
    // 0 picks a free port, which Port() then tells.
    TTcpListener(const std::string& address, int port);
    ~TTcpListener();
    TTcpListener(const TTcpListener&) = delete;
    TTcpListener& operator=(const TTcpListener&) = delete;

    int Port() const { return port_; }
    int Fd() const { return fd_; }
    // Waits up to timeoutMs for a client; an invalid socket when none came.
    TTcpSocket Accept(int timeoutMs);

private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace kv
