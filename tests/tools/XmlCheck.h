#pragma once
// A small well-formedness check of XML: balanced elements, quoted and unique attributes,
// known entities, one root element. Enough to hold the SVG writer to XML.

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
    std::vector<std::string> Open;
    int Roots = 0;
    std::size_t I = 0;
    const auto IsName = [](char C) {
        return std::isalnum(static_cast<unsigned char>(C)) || C == '-' || C == ':' || C == '_';
    };
    const auto CheckEntities = [](const std::string& S) {
        for (std::size_t A = S.find('&'); A != std::string::npos; A = S.find('&', A + 1)) {
            const std::size_t End = S.find(';', A);
            if (End == std::string::npos) return false;
            const std::string Entity = S.substr(A + 1, End - A - 1);
            if (Entity != "amp" && Entity != "lt" && Entity != "gt" && Entity != "quot" && Entity != "apos")
                return false;
        }
        return true;
    };
    if (Text.starts_with("<?xml")) I = Text.find("?>") + 2;
    while (I < Text.size()) {
        const std::size_t Lt = Text.find('<', I);
        const std::string Between = Text.substr(I, Lt - I);
        if (!CheckEntities(Between) || Between.find('>') != std::string::npos) return "bad text: " + Between;
        if (Open.empty() && Between.find_first_not_of(" \n\r\t") != std::string::npos)
            return "text outside the root";
        if (Lt == std::string::npos) break;
        const std::size_t Gt = Text.find('>', Lt);
        if (Gt == std::string::npos) return "unclosed tag";
        std::string Tag = Text.substr(Lt + 1, Gt - Lt - 1);
        I = Gt + 1;
        if (Tag.starts_with("/")) {
            if (Open.empty() || Open.back() != Tag.substr(1))
                return "closing <" + Tag + "> does not match <" + (Open.empty() ? "" : Open.back()) + ">";
            Open.pop_back();
            continue;
        }
        const bool SelfClosing = Tag.ends_with("/");
        if (SelfClosing) Tag.pop_back();
        std::size_t K = 0;
        while (K < Tag.size() && IsName(Tag[K])) ++K;
        const std::string Name = Tag.substr(0, K);
        if (Name.empty()) return "element without a name";
        std::set<std::string> Attributes;
        while (true) {
            while (K < Tag.size() && Tag[K] == ' ') ++K;
            if (K >= Tag.size()) break;
            const std::size_t Begin = K;
            while (K < Tag.size() && IsName(Tag[K])) ++K;
            const std::string Attribute = Tag.substr(Begin, K - Begin);
            if (Attribute.empty() || K + 1 >= Tag.size() || Tag[K] != '=' || Tag[K + 1] != '"')
                return "bad attribute in <" + Name + ">";
            const std::size_t Close = Tag.find('"', K + 2);
            if (Close == std::string::npos || !CheckEntities(Tag.substr(K + 2, Close - K - 2)) ||
                Tag.substr(K + 2, Close - K - 2).find('<') != std::string::npos)
                return "bad value of " + Attribute;
            if (!Attributes.insert(Attribute).second) return "repeated attribute " + Attribute;
            K = Close + 1;
        }
        if (Open.empty() && ++Roots > 1) return "more than one root";
        if (!SelfClosing) Open.push_back(Name);
    }
    return Open.empty() ? "" : "unclosed <" + Open.back() + ">";
}

}  // namespace fzl::testing
