#pragma once
// A small well-formedness check of XML: balanced elements, quoted and unique attributes,
// known entities, one root element. Enough to hold the SVG writer to XML.

#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fzl::testing {

inline int Count(const std::string& Text, const std::string& Needle) {
    int N = 0;
    for (std::size_t At = Text.find(Needle); At != std::string::npos; At = Text.find(Needle, At + 1)) ++N;
    return N;
}

/// "" for well-formed XML, else what is wrong.
inline std::string XmlError(const std::string& Text) {
    static const std::regex Tag(R"(<(/?)([A-Za-z_][\w:.-]*)((?:\s+[\w:-]+="[^"<]*")*)\s*(/?)>)");
    static const std::regex UnknownEntity("&(?!(amp|lt|gt|quot|apos);)");
    static const std::regex Attribute(R"(([\w:-]+)=")");
    constexpr auto None = std::string::npos;
    std::vector<std::string> Open;
    int Roots = 0;
    for (std::size_t I = Text.starts_with("<?xml") ? Text.find("?>") + 2 : 0; I < Text.size();) {
        const std::size_t Lt = Text.find('<', I);
        const std::string Between = Text.substr(I, Lt - I);
        if (Between.find('>') != None || std::regex_search(Between, UnknownEntity))
            return "bad text: " + Between;
        if (Open.empty() && Between.find_first_not_of(" \n\r\t") != None) return "text outside the root";
        if (Lt == None) break;
        std::smatch Match;
        if (!std::regex_search(Text.cbegin() + static_cast<std::ptrdiff_t>(Lt), Text.cend(), Match, Tag,
                               std::regex_constants::match_continuous))
            return "bad tag at " + std::to_string(Lt);
        I = Lt + static_cast<std::size_t>(Match.length(0));
        const std::string Name = Match[2], Attributes = Match[3];
        if (Match.length(1) > 0) {
            if (Open.empty() || Open.back() != Name)
                return "closing </" + Name + "> does not match <" + (Open.empty() ? "" : Open.back()) + ">";
            Open.pop_back();
            continue;
        }
        if (std::regex_search(Attributes, UnknownEntity)) return "bad attribute value in <" + Name + ">";
        std::set<std::string> Seen;
        for (std::sregex_iterator A(Attributes.begin(), Attributes.end(), Attribute), End; A != End; ++A)
            if (!Seen.insert((*A)[1]).second) return "repeated attribute " + (*A)[1].str();
        if (Open.empty() && ++Roots > 1) return "more than one root";
        if (Match.length(4) == 0) Open.push_back(Name);
    }
    return Open.empty() ? "" : "unclosed <" + Open.back() + ">";
}

}  // namespace fzl::testing
