// The settings-file (registry export) parser. The input is a file's bytes.
// Either it is refused as no export, with a line number inside the text, or
// what it writes back reads back with the same values and is written the same
// again; a value set in it is read back exactly, whatever its bytes.
#include "fuzz_support.h"
#include "platform/registry_document.h"

namespace statvane::fuzz {
namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Fuzz";

void checkSameValues(const RegistryDocument& a, const RegistryDocument& b) {
    require(a.hasKey(kKey) == b.hasKey(kKey), "the same keys after writing");
    for (const auto& name : a.valueNames(kKey)) {
        const RegistryValue* left = a.findValue(kKey, name);
        const RegistryValue* right = b.findValue(kKey, name);
        require(left && right && left->kind == right->kind && left->text == right->text &&
                    left->integer == right->integer,
                "a value reads back the same after writing");
    }
}

void checkSetValue(RegistryDocument document, std::string_view text) {
    // Unicode files give bytes that are no UTF-8 back as the characters
    // Latin-1 gives them, so only 8-bit files promise the very bytes.
    if (document.format().version5 ||
        document.format().encoding == RegistryFormat::Encoding::Utf16Le)
        return;
    document.setValue(kKey, {"Fuzz Value", RegistryValue::Kind::String, std::string(text), 0});
    const RegistryDocument again = RegistryDocument::parse(document.serialize());
    const RegistryValue* value = again.findValue(kKey, "fuzz value");
    // A string ends at its first terminating zero, so trailing zeros go.
    while (!text.empty() && text.back() == '\0')
        text.remove_suffix(1);
    require(value && value->kind == RegistryValue::Kind::String && value->text == text,
            "a string set is read back exactly");
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane;
    const std::string_view bytes = fuzz::textOf(data, size);
    try {
        const RegistryDocument document = RegistryDocument::parse(bytes);
        const std::string written = document.serialize();
        const RegistryDocument again = RegistryDocument::parse(written);
        fuzz::require(again.serialize() == written, "the text written is written the same again");
        fuzz::checkSameValues(document, again);
        fuzz::checkSetValue(document, bytes);
    } catch (const RegistryDocument::Unreadable& refused) {
        fuzz::require(refused.line >= 1 && refused.line <= size + 1,
                      "a refusal names a line of the text");
    }
    return 0;
}
