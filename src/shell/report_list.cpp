#include "shell/report_list.h"

#include "platform/old_reports_notice.h"
#include "platform/program_directory.h"
#include "platform/stream_prompt.h"
#include "profiles/profile_store.h"

#include <cstdio>

namespace statvane {

int printReportNames() {
    const auto directory = programDirectory();
    StreamPrompt notices(stderr);
    tellOldReports(notices, directory);
    for (const auto& name : ProfileStore(directory).listReportNames())
        std::printf("%s\n", name.c_str());
    return 0;
}

} // namespace statvane
