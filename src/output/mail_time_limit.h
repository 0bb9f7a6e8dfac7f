#pragma once

namespace statvane {

// How long a report's mail delivery may take in all, connection to QUIT, in
// milliseconds: $STATVANE_MAIL_TIMEOUT seconds, else three minutes.
int mailTimeLimitMs();

} // namespace statvane
