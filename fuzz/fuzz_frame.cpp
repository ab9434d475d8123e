// Arbitrary bytes as the payload of a frame from the network: decoding must either give a
// value that encodes again or raise EFrameError, and never crash or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/net/RemoteProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kv::TFrameLimits limits;
    limits.maxFrameBytes = 1 << 16;
    try {
        const kv::TFrame frame = kv::DecodeFramePayload(bytes, limits);
        // What decodes must encode again (a server answers with what it received).
        kv::EncodeFrame(frame.kind, frame.body, limits);
    } catch (const kv::EFrameError&) {
    }
    return 0;
}
