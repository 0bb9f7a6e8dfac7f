#include "net/web/web_launching.h"
namespace statvane {
void openWebAddress(const Settings&, const std::string&) {}
void launchBrowser(const Settings&, const std::string&) {}
std::string updatePageAddress() { return "http://x/cgi-bin/statvane/upgrade.cgi?10"; }
std::string homePageAddress() { return "http://x/"; }
}
