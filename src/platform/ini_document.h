#pragma once

#include "platform/ascii.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace statvane {

// The lines of a private-profile (INI) file with an index of its sections and
// keys, so that a look-up costs no search. Section and key names match
// ignoring letter case and the blanks at either end of a name, as the Windows
// functions match them; a section header's name runs to the last "]" of its
// line, so a name may hold "]". The first of two sections or keys of one name
// is the one found.
class IniDocument {
  public:
    using KeyValues = std::vector<std::pair<std::string, std::string>>;

    static IniDocument parse(std::string_view bytes);
    // Every line ended by CR LF.
    std::string serialize() const;

    // The value with blanks around it and one pair of enclosing quotes
    // dropped; nothing when the section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // Every section name once, in file order.
    std::vector<std::string> sectionNames() const;

    // Sets each key in turn: an existing key keeps its place, a new one is
    // appended at the end of its section, and a new section at the end.
    void setValues(std::string_view section, const KeyValues& values);
    // Removes every section of the name with its keys; false when none.
    bool eraseSection(std::string_view section);

  private:
    struct Section {
        std::string name;
        std::size_t header; // line of the "[name]"
        std::size_t end;    // one past its last line
        std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                           ascii::CaseInsensitiveEqual>
            keyAt;
    };

    void index();
    const Section* findSection(std::string_view name) const;
    void appendSection(std::string_view name);

    std::vector<std::string> lines_;
    std::vector<Section> sections_; // in file order
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        sectionAt_; // the first section of each name
};

} // namespace statvane
