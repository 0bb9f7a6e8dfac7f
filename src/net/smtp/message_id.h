#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace statvane {

// Where the mail client takes the unique part of a Message-ID from; tests put
// a fixed text here.
using MessageIdSource = std::function<std::string()>;

// The time in milliseconds since 1970, the process id and a 64-bit random
// number in hexadecimal, joined by ".": "1709625023123.4242.9f8e7d6c5b4a3921".
std::string uniqueMessagePart();

// "<" + unique + "@" + the domain of the address in `from` ("a@b.example" or
// "Name <a@b.example>") + ">". A from that names no host-name-like domain
// gives `localHost` in its place, and "localhost" when that is none either.
std::string messageIdText(std::string_view unique, std::string_view from,
                          std::string_view localHost);

} // namespace statvane
