#pragma once
#include "settings/settings.h"
#include <string>
namespace statvane {
void openWebAddress(const Settings& settings, const std::string& address);
void launchBrowser(const Settings& settings, const std::string& address);
std::string updatePageAddress();
std::string homePageAddress();
}
