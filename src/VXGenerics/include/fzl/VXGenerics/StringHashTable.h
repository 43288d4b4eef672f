#pragma once
// TVXStringHashTable: a hash table from names (exact, case-sensitive UTF-8
// strings) to counted interface references. Putting a reference in takes a
// reference; removing, replacing or clearing releases it. Nil is refused.

#include <string>
#include <unordered_set>
#include <vector>

#include <fzl/VXGenerics/HashTable.h>
#include <fzl/VXGenerics/InterfaceStringList.h>
#include <fzl/support/IntfPtr.h>
#include <fzl/support/StringIterator.h>
#include <fzl/support/StringList.h>

namespace fzl {

/// A key iterator over a copy of Strings, in their order.
[[nodiscard]] TIntfPtr<IStringIterator> MakeStringIterator(std::vector<std::string> Strings);

/// Name-keyed table of references to I, in bucket order.
template <class I>
class TVXStringHashTable : public TVXHashTable<std::string, TIntfPtr<I>> {
    using TBase = TVXHashTable<std::string, TIntfPtr<I>>;

public:
    using TBase::TBase;

    /// An iterator over the keys as they are now, in bucket order; it stays valid
    /// when the table changes or goes.
    [[nodiscard]] TIntfPtr<IStringIterator> Indices() const {
        std::vector<std::string> Keys;
        Keys.reserve(static_cast<std::size_t>(this->Count()));
        for (const std::string& Key : this->Keys()) Keys.push_back(Key);
        return MakeStringIterator(std::move(Keys));
    }

    /// A TInterfaceStringList receives the keys with their references, any other
    /// TStrings the keys alone, in bucket order.
    void AssignTo(TPersistent& Dest) const override {
        if (auto* List = dynamic_cast<TInterfaceStringList*>(&Dest)) {
            List->BeginUpdate();
            List->Clear();
            for (const auto& Item : *this) List->AddObject(Item.Key, nullptr, Item.Value);
            List->EndUpdate();
            return;
        }
        if (auto* Strings = dynamic_cast<TStrings*>(&Dest)) {
            Strings->BeginUpdate();
            Strings->Clear();
            for (const std::string& Key : this->Keys()) Strings->Add(Key);
            Strings->EndUpdate();
            return;
        }
        TBase::AssignTo(Dest);
    }

    /// From string lists: one entry per line, its value the line's reference seen
    /// as I (a plain TStrings carries none). A nil value or a repeated line raises
    /// before anything changes. Another table of the same kind is copied.
    void Assign(const TPersistent& Source) override {
        if (&Source == this) return;
        if (const auto* List = dynamic_cast<const TInterfaceStringList*>(&Source)) {
            std::vector<TPair<std::string, TIntfPtr<I>>> Lines;
            for (const auto& Line : *List) Lines.push_back({Line.String, Line.Data.template Query<I>()});
            AssignLines(Lines);
            return;
        }
        if (const auto* Strings = dynamic_cast<const TStrings*>(&Source)) {
            std::vector<TPair<std::string, TIntfPtr<I>>> Lines;
            for (const auto& Line : *Strings) Lines.push_back({Line.String, nullptr});
            AssignLines(Lines);
            return;
        }
        if (dynamic_cast<const TVXDictionary<std::string, TIntfPtr<I>>*>(&Source) != nullptr) {
            this->InUpdate([&] { TBase::Assign(Source); });
            return;
        }
        TBase::Assign(Source);
    }

    [[nodiscard]] std::string ClassName() const override { return "TVXStringHashTable"; }

protected:
    ~TVXStringHashTable() override = default;

    void CheckValue(const std::string& Key, const TIntfPtr<I>& Value) const override {
        if (!Value) throw EGHashtableError(Format(SNilTableValue, {Key}));
    }

private:
    void AssignLines(const std::vector<TPair<std::string, TIntfPtr<I>>>& Lines) {
        std::unordered_set<std::string_view> Seen;
        for (const auto& Line : Lines) {
            CheckValue(Line.Key, Line.Value);
            if (!Seen.insert(Line.Key).second) throw EListError(SDuplicateItem);
        }
        this->InUpdate([&] {
            this->Clear();
            for (const auto& Line : Lines) this->Add(Line.Key, Line.Value);
        });
    }
};

}  // namespace fzl
