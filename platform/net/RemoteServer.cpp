#include "platform/net/RemoteServer.h"

#include <vector>

namespace kv {

namespace {

Variant FaultBody(const std::exception& error) {
    return VarArrayOf({Variant(ExceptionClassName(error)), Variant(std::string(error.what()))});
}

std::vector<Variant> ArgumentsOf(const Variant& list) {
    std::vector<Variant> args;
    if (list.IsEmpty()) return args;
    if (!list.IsArray() || list.DimCount() != 1)
        throw EFrameError("Call arguments are not a one-dimensional array");
    for (int i = list.LowBound(1); i <= list.HighBound(1); ++i)
        args.push_back(list[i]);
    return args;
}

// The [index, value] pairs of the arguments the member changed.
Variant WrittenBack(const std::vector<std::string>& before, const std::vector<Variant>& after,
                    const TVariantLimits& limits) {
    std::vector<Variant> changed;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (EncodeVariant(after[i], limits) != before[i])
            changed.push_back(VarArrayOf({Variant(static_cast<int>(i)), after[i]}));
    return changed.empty() ? Variant() : VarArrayOf(changed);
}

// A well-formed call frame: [flags, name, arguments].
void CheckCallShape(const Variant& body) {
    if (!body.IsArray() || body.DimCount() != 1 || body.LowBound(1) != 0 || body.HighBound(1) != 2)
        throw EFrameError("Call frame without [flags, name, arguments]");
    if (!VarIsOrdinal(body[0]) || !VarIsStr(body[1]))
        throw EFrameError("Call frame with a bad flag or member name");
}

Variant Call(Dispatch& object, const Variant& body, const TFrameLimits& limits) {
    CheckCallShape(body);
    auto args = ArgumentsOf(body[2]);
    std::vector<std::string> before;
    for (const auto& arg : args)
        before.push_back(EncodeVariant(arg, limits.variant));
    const auto flags = static_cast<DispatchFlags>(body[0].AsInt64() & 7);
    Variant result = object.Invoke(body[1].AsString(), flags, args);
    return VarArrayOf({result, WrittenBack(before, args, limits.variant)});
}

DispatchPtr Open(const Variant& body, const TRemoteObjectFactory& factory) {
    if (!body.IsArray() || body.DimCount() != 1 || body.HighBound(1) - body.LowBound(1) != 1 ||
        !VarIsStr(body[body.LowBound(1) + 1]))
        throw EFrameError("Open frame without [version, server name]");
    DispatchPtr object = factory(body[body.LowBound(1) + 1].AsString());
    if (!object) throw EOleSysError("The server gave no object");
    return object;
}

// Answers frames until the connection ends; returns why it ended.
std::string ServeFrames(TTcpSocket& socket, const TRemoteObjectFactory& factory,
                        const TFrameLimits& limits) {
    DispatchPtr session;
    try {
        while (auto frame = ReadFrame(socket, limits)) {
            Variant reply;
            TFrameKind kind = TFrameKind::Result;
            try {
                if (frame->kind == TFrameKind::Open) {
                    if (session) throw EFrameError("Open frame on an open session");
                    session = Open(frame->body, factory);
                    reply = VarArrayOf({Variant(kRemoteProtocolVersion)});
                } else if (frame->kind == TFrameKind::Call) {
                    if (!session) throw EFrameError("Call frame before an Open frame");
                    reply = Call(*session, frame->body, limits);
                } else {
                    throw EFrameError("Unexpected frame kind from a client");
                }
            } catch (const EFrameError&) {
                throw;
            } catch (const std::exception& error) {
                kind = TFrameKind::Fault;
                reply = FaultBody(error);
            }
            try {
                WriteFrame(socket, kind, reply, limits);
            } catch (const EVariantEncodeError& error) {
                WriteFrame(socket, TFrameKind::Fault, FaultBody(error), limits);
            } catch (const EFrameError& error) {
                WriteFrame(socket, TFrameKind::Fault, FaultBody(error), limits);
            }
        }
        return "closed by the client";
    } catch (const EFrameError& error) {
        return "malformed frame: " + error.Message();
    } catch (const std::exception& error) {
        return std::string("connection failed: ") + error.what();
    }
}

}  // namespace

std::string ServeConnection(TTcpSocket& socket, const TRemoteObjectFactory& factory,
                            const TFrameLimits& limits) {
    const std::string reason = ServeFrames(socket, factory, limits);
    // The peer learns at once that the session is over; the owner closes the socket.
    socket.Shutdown();
    return reason;
}

}  // namespace kv
