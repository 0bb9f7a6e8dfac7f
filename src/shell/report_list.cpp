#include "shell/report_list.h"

#include "platform/program_directory.h"
#include "profiles/profile_store.h"

#include <cstdio>

namespace statvane {

int printReportNames() {
    for (const auto& name : ProfileStore(programDirectory()).listReportNames())
        std::printf("%s\n", name.c_str());
    return 0;
}

} // namespace statvane
