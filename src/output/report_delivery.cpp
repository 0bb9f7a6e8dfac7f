#include "output/report_delivery.h"

#include "output/report_writer.h"

namespace statvane {

MailStart saveThenMail(AnalysisResult& result, SettingsStore& settings,
                       const std::filesystem::path& file, const ReportMail& mail) {
    writeReport(result, settings, file);
    const std::optional<std::string> recipients = mail.recipients();
    if (!recipients)
        return MailStart::NotAsked;
    return mail.start(*recipients) ? MailStart::Started : MailStart::NotStarted;
}

} // namespace statvane
