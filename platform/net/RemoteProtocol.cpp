#include "platform/net/RemoteProtocol.h"

#include <cstring>

namespace kv {

namespace {

constexpr std::size_t kHeaderBytes = 4;
constexpr char kMagic[2] = {'K', 'V'};
constexpr std::size_t kPreambleBytes = 4;  // magic, version, kind

bool KnownKind(std::uint8_t kind) {
    switch (static_cast<TFrameKind>(kind)) {
        case TFrameKind::Open:
        case TFrameKind::Call:
        case TFrameKind::Result:
        case TFrameKind::Fault:
            return true;
    }
    return false;
}

}  // namespace

std::string EncodeFrame(TFrameKind kind, const Variant& body, const TFrameLimits& limits) {
    std::string frame(kHeaderBytes, '\0');
    frame.append(kMagic, sizeof kMagic);
    frame += static_cast<char>(kRemoteProtocolVersion);
    frame += static_cast<char>(kind);
    EncodeVariant(body, frame, limits.variant);
    const std::size_t payload = frame.size() - kHeaderBytes;
    if (payload > limits.maxFrameBytes)
        throw EFrameError("Message of " + std::to_string(payload) + " bytes exceeds the limit of " +
                          std::to_string(limits.maxFrameBytes));
    const auto length = static_cast<std::uint32_t>(payload);
    std::memcpy(frame.data(), &length, sizeof length);
    return frame;
}

TFrame DecodeFramePayload(std::string_view payload, const TFrameLimits& limits) {
    if (payload.size() < kPreambleBytes) throw EFrameError("Frame too short");
    if (payload[0] != kMagic[0] || payload[1] != kMagic[1])
        throw EFrameError("Not a frame of this protocol");
    if (payload[2] != static_cast<char>(kRemoteProtocolVersion))
        throw EFrameError("Unsupported protocol version " +
                          std::to_string(static_cast<unsigned char>(payload[2])));
    const auto kind = static_cast<std::uint8_t>(payload[3]);
    if (!KnownKind(kind)) throw EFrameError("Unknown frame kind " + std::to_string(kind));
    try {
        return {static_cast<TFrameKind>(kind),
                DecodeVariant(payload.substr(kPreambleBytes), limits.variant)};
    } catch (const EVariantDecodeError& error) {
        throw EFrameError("Malformed frame: " + error.Message());
    }
}

void WriteFrame(TTcpSocket& socket, TFrameKind kind, const Variant& body,
                const TFrameLimits& limits) {
    const std::string frame = EncodeFrame(kind, body, limits);
    socket.SendAll(frame.data(), frame.size());
}

std::optional<TFrame> ReadFrame(TTcpSocket& socket, const TFrameLimits& limits) {
    std::uint32_t length = 0;
    if (!socket.ReceiveAll(&length, sizeof length)) return std::nullopt;
    if (length > limits.maxFrameBytes)
        throw EFrameError("Announced frame of " + std::to_string(length) +
                          " bytes exceeds the limit of " + std::to_string(limits.maxFrameBytes));
    std::string payload(length, '\0');
    if (length > 0 && !socket.ReceiveAll(payload.data(), payload.size()))
        throw ESocketConnectionError("Connection closed in the middle of a message");
    return DecodeFramePayload(payload, limits);
}

}  // namespace kv
