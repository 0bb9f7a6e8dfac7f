#pragma once

#include <string>

namespace statvane {

struct Settings;

// Opens a web address: with the desktop's default handler (xdg-open) when
// settings.DefaultBrowser is true, otherwise with launchBrowser. The settings
// are read at each call. Never through a shell; failures are silent.
void openWebAddress(const Settings& settings, const std::string& address);

// Starts the program settings.BrowserPath (a path with blanks is still one
// program; a name without a folder is looked for in PATH) with the address as
// its one argument, and does not wait for it. An empty path, a missing
// program or a program that cannot start opens nothing, silently.
//
// Both functions hand over the address's bytes unchanged when they are UTF-8;
// other bytes of 128 and above are written as %XX, as a browser writes them in
// an address. An address that begins with "-" is not handed to any program,
// which would read it as an option.
void launchBrowser(const Settings& settings, const std::string& address);

// The maker's update page: "http://" HOST "/cgi-bin/statvane/upgrade.cgi?10".
std::string updatePageAddress();

// The maker's home page: "http://" HOST "/".
std::string homePageAddress();

} // namespace statvane
