#pragma once
// Lists of strings with attached objects and name=value access.

#include <string>
#include <string_view>
#include <vector>

#include <fzl/support/Persistent.h>

namespace fzl {

/// An ordered list of strings, each with an optional attached object (not owned).
/// Name lookups (IndexOf, Values) ignore ASCII letter case unless CaseSensitive.
class TStrings : public TPersistent {
public:
    TStrings() = default;

    void BeginUpdate() noexcept { ++FUpdateCount; }
    void EndUpdate() noexcept {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    [[nodiscard]] int UpdateCount() const noexcept { return FUpdateCount; }

    void Clear() noexcept { FItems.clear(); }
    /// Appends S and returns its index.
    int Add(std::string S) { return AddObject(std::move(S), nullptr); }
    void Append(std::string S) { Add(std::move(S)); }
    /// Appends S with an attached object and returns its index.
    int AddObject(std::string S, TObject* Object);
    void Delete(int Index);

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(FItems.size()); }
    [[nodiscard]] const std::string& GetString(int Index) const;
    void SetString(int Index, std::string S);
    [[nodiscard]] TObject* GetObject(int Index) const;
    /// Index of the first line equal to S (by CaseSensitive), or -1.
    [[nodiscard]] int IndexOf(std::string_view S) const;

    /// The lines, each followed by a line feed.
    [[nodiscard]] std::string GetText() const;
    /// Replaces the lines by those of Text (split at CR, LF or CR LF).
    void SetText(std::string_view Text);

    /// The value of the first "Name=Value" line whose name matches, or empty.
    [[nodiscard]] std::string GetValue(std::string_view Name) const;
    /// Sets (or appends) "Name=Value"; an empty Value removes the line.
    void SetValue(std::string_view Name, std::string_view Value);
    /// Index of the first "Name=..." line whose name matches, or -1.
    [[nodiscard]] int IndexOfName(std::string_view Name) const;
    /// The name part of line Index (up to the first "=").
    [[nodiscard]] std::string GetName(int Index) const;

    [[nodiscard]] bool GetCaseSensitive() const noexcept { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) noexcept { FCaseSensitive = Value; }

    /// Copies the lines and objects of another TStrings.
    void Assign(const TPersistent& Source) override;
    [[nodiscard]] std::string ClassName() const override { return "TStrings"; }

    [[nodiscard]] auto begin() const noexcept { return FItems.begin(); }
    [[nodiscard]] auto end() const noexcept { return FItems.end(); }

    struct TItem {
        std::string String;
        TObject* Object = nullptr;
    };

protected:
    ~TStrings() override = default;

private:
    [[nodiscard]] bool SameText(std::string_view A, std::string_view B) const noexcept;

    std::vector<TItem> FItems;
    int FUpdateCount = 0;
    bool FCaseSensitive = false;
};

/// The concrete string list the library creates.
class TStringList final : public TStrings {
public:
    [[nodiscard]] std::string ClassName() const override { return "TStringList"; }

protected:
    ~TStringList() override = default;
};

}  // namespace fzl
