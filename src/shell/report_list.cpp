#include "shell/report_list.h"

#include "platform/error.h"
#include "platform/program_directory.h"
#include "platform/stream_prompt.h"
#include "profiles/profile_store.h"

#include <cstdio>

namespace statvane {

int printReportNames() {
    try {
        for (const auto& name : ProfileStore(programDirectory()).listReportNames())
            std::printf("%s\n", name.c_str());
        return 0;
    } catch (const Error& error) {
        StreamPrompt prompt(stderr);
        showError(prompt, error);
        return 1;
    }
}

} // namespace statvane
