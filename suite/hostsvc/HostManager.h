// The host automation object "PinnoxWorkCenter.Manager".
//
// Members (late-bound, names without regard to case):
//   VersionType                  -> integer (the host's edition)
//   ProductID                    -> integer
//   CodePage                     -> "936", "950" or "437"; writable (the language of GetMessage)
//   GetMessage(kind, number)     -> the message text in the host's language, "%s" placeholders
//                                   for the arguments; a text naming the code when it is unknown
//   CallHelp([program prefix, help number])  -> recorded as a request; nothing is shown
//   GetFileList([file name])     -> "<File><Name>..</Name><Modify>stamp</Modify><Path>server
//                                   path</Path></File>", or "" for a file the share does not have
//   Com_Counter, Com_Validator, Com_F2Window  -> the three service objects (one each per host
//                                   object)
#pragma once

#include <memory>

#include "platform/core/Dispatch.h"
#include "suite/hostsvc/HostServices.h"

namespace kv {

class THostManager : public TAutoObject {
public:
    explicit THostManager(std::shared_ptr<THostServices> services);

    std::string GetMessage(const std::string& kind, const std::string& number);
    std::string GetFileList(const Variant& names);

private:
    void RegisterMembers();
    // The service object of class T kept in slot, created on first use.
    template <class T>
    Variant Service(Variant& slot);

    std::shared_ptr<THostServices> services_;
    Variant counter_;
    Variant validator_;
    Variant lookupWindow_;
};

}  // namespace kv
