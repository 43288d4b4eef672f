#pragma once
// TInterfaceStringList: a string list whose lines carry an object (not owned
// unless the list is told so) and a counted interface reference.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <fzl/support/Interface.h>
#include <fzl/support/IntfPtr.h>
#include <fzl/support/NotifyEvent.h>
#include <fzl/support/Persistent.h>

namespace fzl {

/// What a sorted list does with a string it already holds.
enum TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };

/// Lines with an object and an interface reference each. Adding takes a reference
/// to the line's interface; deleting, replacing or clearing releases it.
/// Comparisons are byte-wise (UTF-8), ignoring ASCII letter case unless
/// CaseSensitive; a sorted list keeps equal strings in the order they came.
class TInterfaceStringList : public TPersistent {
public:
    struct TItem {
        std::string String;
        TObject* Object = nullptr;
        TIntfPtr<IInterface> Data;
    };

    TInterfaceStringList() = default;
    /// OwnsObjects: deleting a line or clearing the list frees the lines' objects.
    explicit TInterfaceStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}

    /// Fired before and after every change, and around an update bracket.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChanged;

    /// Adds S (at its sorted place on a sorted list); returns its index.
    int Add(const std::string& S) { return AddObject(S, nullptr); }
    /// Adds S with Object and Data. On a sorted list a present S is ignored (its index
    /// returned), accepted, or refused with EListError, as Duplicates says.
    int AddObject(const std::string& S, TObject* Object, const TIntfPtr<IInterface>& Data = nullptr);
    /// Inserts at Index (0 .. Count, else EArgumentOutOfRangeException); a sorted list
    /// refuses with EListError.
    void Insert(int Index, const std::string& S, TObject* Object = nullptr,
                const TIntfPtr<IInterface>& Data = nullptr);
    void Delete(int Index);
    void Clear();

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(FItems.size()); }
    /// Room for lines: grows by doubling (from 0 straight to what is needed).
    [[nodiscard]] int GetCapacity() const noexcept { return static_cast<int>(FItems.capacity()); }
    [[nodiscard]] const std::string& GetString(int Index) const { return ItemAt(Index).String; }
    /// Replaces line Index's string; a sorted list refuses with EListError.
    void SetString(int Index, const std::string& S);
    [[nodiscard]] TObject* GetObject(int Index) const { return ItemAt(Index).Object; }
    void SetObject(int Index, TObject* Object);
    /// The interface reference of line Index (nil when it carries none).
    [[nodiscard]] TIntfPtr<IInterface> GetData(int Index) const { return ItemAt(Index).Data; }
    /// Replaces the interface reference of line Index.
    virtual void PutData(int Index, const TIntfPtr<IInterface>& Value);

    /// Index of the first line equal to S, or -1.
    [[nodiscard]] int IndexOf(std::string_view S) const;
    /// True when S is present; Index is then its first line, else where S would go
    /// (binary search on a sorted list, a scan otherwise).
    bool Find(std::string_view S, int& Index) const;
    /// Sorts the lines (stable).
    void Sort();

    [[nodiscard]] bool GetSorted() const noexcept { return FSorted; }
    /// Sorting on: the lines are sorted now and kept sorted.
    void SetSorted(bool Value);
    [[nodiscard]] TDuplicates GetDuplicates() const noexcept { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) noexcept { FDuplicates = Value; }
    [[nodiscard]] bool GetCaseSensitive() const noexcept { return FCaseSensitive; }
    /// Re-sorts a sorted list under the new comparison.
    void SetCaseSensitive(bool Value);
    [[nodiscard]] bool GetOwnsObjects() const noexcept { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) noexcept { FOwnsObjects = Value; }

    /// The lines, each followed by a line feed.
    [[nodiscard]] std::string GetText() const;
    /// Replaces the lines by those of Text (split at CR, LF or CR LF).
    void SetText(std::string_view Text);

    /// Changes wait for the outermost EndUpdate (OnChanging at the first BeginUpdate,
    /// OnChanged at the last EndUpdate).
    void BeginUpdate();
    void EndUpdate();
    [[nodiscard]] int GetUpdateCount() const noexcept { return FUpdateCount; }

    /// From another TInterfaceStringList (strings, objects, references) or any
    /// TStrings (strings, objects).
    void Assign(const TPersistent& Source) override;
    /// To any TStrings: the strings and objects.
    void AssignTo(TPersistent& Dest) const override;
    [[nodiscard]] std::string ClassName() const override { return "TInterfaceStringList"; }

    [[nodiscard]] auto begin() const noexcept { return FItems.begin(); }
    [[nodiscard]] auto end() const noexcept { return FItems.end(); }

protected:
    ~TInterfaceStringList() override = default;
    void BeforeDestruction() override;
    /// OnChanging / OnChanged, unless an update bracket is open.
    virtual void Changing();
    virtual void Changed();
    /// Negative, zero or positive as A sorts before, with or after B.
    [[nodiscard]] int CompareStrings(std::string_view A, std::string_view B) const noexcept;

private:
    [[nodiscard]] const TItem& ItemAt(int Index) const;
    [[nodiscard]] TItem& ItemAt(int Index);
    void InsertItem(int Index, const std::string& S, TObject* Object, const TIntfPtr<IInterface>& Data);
    void RequireUnsorted() const;
    void FreeObject(TObject* Object) const;

    std::vector<TItem> FItems;
    int FUpdateCount = 0;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

}  // namespace fzl
