// The profile-file (INI) parser. The input is a file's text. What it writes
// back reads back the same and is written the same again; every section
// listed is found, keeps a key written to it, and is gone once erased.
#include "fuzz_support.h"
#include "platform/ini_document.h"

namespace statvane::fuzz {
namespace {

void checkSections(IniDocument document) {
    for (const std::string& name : document.sectionNames()) {
        require(!name.empty(), "a listed section has a name");
        IniDocument changed = document;
        changed.setValues(name, {{"Fuzz Key", "value"}});
        require(changed.find(name, "fuzz key") == "value", "a written key is found again");
        require(IniDocument::parse(changed.serialize()).find(name, "FUZZ KEY") == "value",
                "a written key is found in the file written");
        changed.eraseSection(name);
        require(!changed.find(name, "Fuzz Key"), "an erased section is gone");
    }
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane;
    const IniDocument document = IniDocument::parse(fuzz::textOf(data, size));
    const std::string written = document.serialize();
    const IniDocument again = IniDocument::parse(written);
    fuzz::require(again.serialize() == written, "the text written is written the same again");
    fuzz::require(again.sectionNames() == document.sectionNames(),
                  "the text written lists the same sections");
    fuzz::checkSections(document);
    return 0;
}
