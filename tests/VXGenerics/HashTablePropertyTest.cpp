#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fzl/VXGenerics/EqualityComparer.h>
#include <fzl/VXGenerics/StringHashTable.h>
#include <fzl/support/Exceptions.h>

#include "VXGenerics/TestValue.h"

namespace fzl {
namespace {

using test::IValue;
using test::Value;

/// The table with its buckets open to inspection.
class TProbeTable final : public TVXStringHashTable<IValue> {
public:
    using TVXStringHashTable::Buckets;
};

using TModel = std::map<std::string, int>;

/// Checks the table against the model and against the layout rules: every
/// bucket holds its key's documented hash, every entry is reachable from its
/// home bucket without crossing an empty one, the load stays at or below 75 %,
/// and index order is bucket order.
void ExpectConsistent(const TProbeTable& Table, const TModel& Model, int Step) {
    SCOPED_TRACE("step " + std::to_string(Step));
    ASSERT_EQ(Table.Count(), static_cast<int>(Model.size()));
    for (const auto& [Key, Number] : Model) {
        TIntfPtr<IValue> Found;
        ASSERT_TRUE(Table.TryGetValue(Key, Found)) << Key;
        ASSERT_EQ(Found->Number(), Number) << Key;
    }
    const auto& Buckets = Table.Buckets();
    const int Capacity = static_cast<int>(Buckets.size());
    ASSERT_TRUE(Capacity == 0 || (Capacity >= 4 && (Capacity & (Capacity - 1)) == 0)) << Capacity;
    ASSERT_LE(Table.Count(), Capacity / 2 + Capacity / 4);
    std::vector<std::string> BucketOrder;
    for (int Position = 0; Position < Capacity; ++Position) {
        const auto& Item = Buckets[static_cast<std::size_t>(Position)];
        if (Item.HashCode == -1) continue;
        BucketOrder.push_back(Item.Key);
        const auto Raw = HashFNV1a(Item.Key);
        ASSERT_EQ(Item.HashCode, static_cast<std::int32_t>(((Raw & 0x7FFFFFFFU) + 1U) & 0x7FFFFFFFU));
        for (int Probe = Item.HashCode & (Capacity - 1); Probe != Position;
             Probe = (Probe + 1) & (Capacity - 1))
            ASSERT_NE(Buckets[static_cast<std::size_t>(Probe)].HashCode, -1) << "hole before " << Item.Key;
    }
    std::vector<std::string> IndexOrder;
    for (int Index = 0; Index < Table.Count(); ++Index) IndexOrder.push_back(Table.GetKeyByIndex(Index));
    ASSERT_EQ(IndexOrder, BucketOrder);
}

TEST(HashTableProperty, RandomEditsAgreeWithAStandardMap) {
    std::mt19937 Random(20240611);
    auto Pick = [&Random](int Below) { return std::uniform_int_distribution<int>(0, Below - 1)(Random); };
    auto RandomKey = [&Pick] { return "key" + std::to_string(Pick(48)); };
    auto Table = Make<TProbeTable>();
    TModel Model;
    int Next = 0;
    for (int Step = 0; Step < 20000; ++Step) {
        const int Operation = Pick(100);
        if (Operation < 30) {  // add
            const std::string Key = RandomKey();
            if (Model.contains(Key)) {
                ASSERT_THROW(Table->Add(Key, Value(-1)), EListError);
            } else {
                Table->Add(Key, Value(Next));
                Model[Key] = Next++;
            }
        } else if (Operation < 50) {  // put
            const std::string Key = RandomKey();
            Table->Put(Key, Value(Next));
            Model[Key] = Next++;
        } else if (Operation < 75) {  // remove, mostly of present keys
            if (Model.empty()) {
                ASSERT_THROW(Table->Remove(RandomKey()), EGHashtableError);
            } else {
                const std::string Key =
                    Pick(4) == 0 ? RandomKey() : Table->GetKeyByIndex(Pick(Table->Count()));
                Table->Remove(Key);
                Model.erase(Key);
            }
        } else if (Operation < 85) {  // rename: remove under one key, add under another
            if (Model.empty()) continue;
            const std::string Old = Table->GetKeyByIndex(Pick(Table->Count()));
            const std::string New = RandomKey();
            if (Model.contains(New)) continue;
            const auto Pair = Table->ExtractPair(Old);
            Table->Add(New, Pair.Value);
            Model.erase(Old);
            Model[New] = Pair.Value->Number();
        } else if (Operation < 86) {  // clear
            Table->Clear();
            Model.clear();
        } else if (!Model.empty()) {  // index reads: a random one, or a loop either way
            const int Count = Table->Count();
            if (Pick(2) == 0) {
                const int Index = Pick(Count);
                ASSERT_TRUE(Model.contains(Table->GetKeyByIndex(Index)));
            } else {
                const bool Forward = Pick(2) == 0;
                for (int I = 0; I < Count; ++I) {
                    const int Index = Forward ? I : Count - 1 - I;
                    ASSERT_EQ(Model.at(Table->GetKeyByIndex(Index)), Table->GetItemByIndex(Index)->Number());
                }
            }
        }
        ExpectConsistent(*Table, Model, Step);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace fzl
