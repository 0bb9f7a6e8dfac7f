#include "shell/untrusted_site_notices.h"

#include "platform/ascii.h"

namespace statvane {

void UntrustedSiteNotices::tell(const std::string& server, const std::string& reason) {
    if (!told_.insert(ascii::toLower(server)).second)
        return;
    progress_.printAbove([&] {
        prompt_.showMessage("The certificate of " + server + " could not be verified: " + reason +
                                ". Its pages add nothing to the bytes transferred.",
                            MessageIcon::Warning);
    });
}

} // namespace statvane
