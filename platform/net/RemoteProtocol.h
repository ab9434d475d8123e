// Frames between a socket connection and the application server.
//
// A frame is a 32-bit little-endian byte count followed by that many bytes: the magic "KV",
// the protocol version (1), the frame kind, and one variant in the encoding of VariantCodec.h.
//
//   Open   [version, server name]          -> Result [version] or Fault
//   Call   [flags, member name, arguments] -> Result [result, written-back arguments] or Fault
//   Result / Fault [error class name, message]
//
// The arguments of a call are an array 0..n-1 (unassigned for none); the written-back
// arguments are an array of [index, value] pairs for the arguments the member changed, so
// by-reference results reach the caller. Sizes are bounded; a frame that breaks any rule
// raises EFrameError and ends the connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"
#include "platform/net/Socket.h"
#include "platform/net/VariantCodec.h"

namespace kv {

KV_DECLARE_EXCEPTION(EFrameError, EReadError);

inline constexpr int kRemoteProtocolVersion = 1;

enum class TFrameKind : std::uint8_t { Open = 1, Call = 2, Result = 0x81, Fault = 0x82 };

struct TFrameLimits {
    // Bytes of one frame after its length; a larger announced length ends the connection
    // before anything is read or allocated.
    std::size_t maxFrameBytes = std::size_t{8} << 20;
    TVariantLimits variant;
};

struct TFrame {
    TFrameKind kind = TFrameKind::Fault;
    Variant body;
};

// The whole frame, length included. Raises EVariantEncodeError for a value without an
// encoding and EFrameError when it exceeds the limit.
std::string EncodeFrame(TFrameKind kind, const Variant& body, const TFrameLimits& limits = {});
// Decodes the bytes after the length.
TFrame DecodeFramePayload(std::string_view payload, const TFrameLimits& limits = {});

void WriteFrame(TTcpSocket& socket, TFrameKind kind, const Variant& body,
                const TFrameLimits& limits = {});
// The next frame; nothing when the peer closed the connection between frames.
std::optional<TFrame> ReadFrame(TTcpSocket& socket, const TFrameLimits& limits = {});

}  // namespace kv
