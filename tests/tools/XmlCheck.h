#pragma once
// A small XML check: balanced elements, quoted attributes, and no raw '<', '>' or '&' in text or
// attribute values (what a name written unescaped would leave).

#include <regex>
#include <string>
#include <vector>

namespace fzl::testing {

inline int Count(const std::string& Text, const std::string& Needle) {
    int N = 0;
    for (std::size_t At = Text.find(Needle); At != std::string::npos; At = Text.find(Needle, At + 1)) ++N;
    return N;
}

/// "" for balanced, escaped XML, else what is wrong.
inline std::string XmlError(const std::string& Text) {
    static const std::regex Tag(
        R"(<\?xml[^>]*\?>|<(/?)([A-Za-z_][\w:.-]*)(?:\s+[\w:-]+="(?:[^"<>&]|&(?:amp|lt|gt|quot|apos);)*")*\s*(/?)>)");
    static const std::regex Raw("[<>]|&(?!(amp|lt|gt|quot|apos);)");
    std::vector<std::string> Open;
    std::string Outside;  // the text between the tags, each piece on a line of its own
    std::size_t At = 0;
    for (std::sregex_iterator Match(Text.begin(), Text.end(), Tag), End; Match != End; ++Match) {
        Outside += Match->prefix().str() + "\n";
        At = static_cast<std::size_t>(Match->position() + Match->length());
        const std::string Name = (*Match)[2];
        const bool Closing = (*Match)[1].length() > 0;
        if (Closing && (Open.empty() || Open.back() != Name))
            return "closing </" + Name + "> does not match <" + (Open.empty() ? "" : Open.back()) + ">";
        if (Closing)
            Open.pop_back();
        else if (!Name.empty() && (*Match)[3].length() == 0)
            Open.push_back(Name);
    }
    if (std::regex_search(Outside + Text.substr(At), Raw)) return "a raw '<', '>' or '&' outside a tag";
    return Open.empty() ? "" : "unclosed <" + Open.back() + ">";
}

}  // namespace fzl::testing
