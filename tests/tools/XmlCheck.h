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
    static const std::regex BadText("[<>]|&(?!(amp|lt|gt|quot|apos);)");
    std::vector<std::string> Open;
    std::size_t At = 0;
    for (std::sregex_iterator Match(Text.begin(), Text.end(), Tag), End;; ++Match) {
        const auto Next = Match == End ? Text.size() : static_cast<std::size_t>(Match->position());
        const std::string Between = Text.substr(At, Next - At);
        if (std::regex_search(Between, BadText)) return "bad text or tag: " + Between;
        if (Match == End) break;
        At = Next + static_cast<std::size_t>(Match->length());
        const std::string Name = (*Match)[2];
        if ((*Match)[1].length() > 0) {
            if (Open.empty() || Open.back() != Name)
                return "closing </" + Name + "> does not match <" + (Open.empty() ? "" : Open.back()) + ">";
            Open.pop_back();
        } else if (!Name.empty() && (*Match)[3].length() == 0) {
            Open.push_back(Name);
        }
    }
    return Open.empty() ? "" : "unclosed <" + Open.back() + ">";
}

}  // namespace fzl::testing
