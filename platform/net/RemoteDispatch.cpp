#include "platform/net/RemoteDispatch.h"

namespace kv {

namespace {

bool IsPair(const Variant& v) {
    return v.IsArray() && v.DimCount() == 1 && v.LowBound(1) == 0 && v.HighBound(1) == 1;
}

// Writes the server's changed arguments back into the caller's vector.
void ApplyWrittenBack(const Variant& changes, std::vector<Variant>& args) {
    if (changes.IsEmpty()) return;
    if (!changes.IsArray() || changes.DimCount() != 1)
        throw EFrameError("Answer with malformed written-back arguments");
    for (int i = changes.LowBound(1); i <= changes.HighBound(1); ++i) {
        const Variant& pair = changes[i];
        if (!IsPair(pair) || !VarIsOrdinal(pair[0]))
            throw EFrameError("Answer with a malformed written-back argument");
        const auto index = pair[0].AsInt64();
        if (index < 0 || static_cast<std::size_t>(index) >= args.size())
            throw EFrameError("Answer writes back an argument that was not passed");
        args[static_cast<std::size_t>(index)].Deref() = pair[1];
    }
}

}  // namespace

TRemoteChannel::TRemoteChannel(TTcpSocket socket, const TFrameLimits& limits, int timeoutMs)
    : socket_(std::move(socket)), limits_(limits) {
    socket_.SetTimeout(timeoutMs);
}

void TRemoteChannel::OpenServer(const std::string& serverName) {
    Exchange(TFrameKind::Open, VarArrayOf({Variant(kRemoteProtocolVersion), Variant(serverName)}));
}

Variant TRemoteChannel::Exchange(TFrameKind kind, const Variant& body) {
    std::lock_guard lock(mutex_);
    if (broken_ || !socket_.Valid())
        throw ESocketConnectionError("The connection to the application server is closed");
    // Encoding first, so a value that cannot travel fails this call only.
    const std::string request = EncodeFrame(kind, body, limits_);
    std::optional<TFrame> answer;
    try {
        socket_.SendAll(request.data(), request.size());
        answer = ReadFrame(socket_, limits_);
        if (!answer) throw ESocketConnectionError("The application server closed the connection");
        if (answer->kind != TFrameKind::Result && answer->kind != TFrameKind::Fault)
            throw EFrameError("Unexpected frame kind from the server");
    } catch (...) {
        broken_ = true;
        socket_.Close();
        throw;
    }
    if (answer->kind == TFrameKind::Fault) {
        const Variant& fault = answer->body;
        std::string message = "Application server error";
        if (fault.IsArray() && fault.DimCount() == 1 && fault.HighBound(1) >= 1)
            message = VarToStr(fault[fault.LowBound(1) + 1]);
        throw EOleException(message);
    }
    return answer->body;
}

bool TRemoteChannel::IsOpen() const {
    std::lock_guard lock(mutex_);
    return !broken_ && socket_.Valid();
}

void TRemoteChannel::Close() {
    std::lock_guard lock(mutex_);
    socket_.Close();
}

Variant TRemoteDispatch::Invoke(std::string_view name, DispatchFlags flags,
                                std::vector<Variant>& args) {
    std::vector<Variant> plain;
    for (const auto& arg : args)
        plain.push_back(arg.Deref());
    const Variant list = plain.empty() ? Variant() : VarArrayOf(plain);
    const Variant answer = channel_->Exchange(
        TFrameKind::Call,
        VarArrayOf({Variant(static_cast<int>(flags)), Variant(std::string(name)), list}));
    if (!IsPair(answer)) throw EFrameError("Malformed answer from the application server");
    ApplyWrittenBack(answer[1], args);
    return answer[0];
}

}  // namespace kv
