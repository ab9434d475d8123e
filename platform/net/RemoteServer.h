// The server half of the socket connection: answers the frames of one client with the
// automation object the client opened, so that a daemon serves an in-process class to remote
// clients. Each connection has its own object (its session), freed when the connection ends.
#pragma once

#include <functional>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/net/RemoteProtocol.h"
#include "platform/net/Socket.h"

namespace kv {

// Creates the object for a server name a client asks for; raises (any platform exception)
// for a name that this server does not serve.
using TRemoteObjectFactory = std::function<DispatchPtr(const std::string& serverName)>;

// Serves one connection until the client closes it, the socket fails or a frame breaks the
// protocol. Errors inside a call go back to the client as Fault frames and the session goes
// on. Returns why the connection ended, for the log ("closed by the client", or the reason).
std::string ServeConnection(TTcpSocket& socket, const TRemoteObjectFactory& factory,
                            const TFrameLimits& limits = {});

}  // namespace kv
