#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/support/Exceptions.h>
#include <fzl/support/Format.h>
#include <fzl/support/PropertyList.h>
#include <fzl/support/UpdateGuard.h>

namespace fzl {
namespace {

bool IsReservedWord(std::string_view Name) {
    // Every reserved word is a single word: names with a blank (all derived names) never are.
    if (Name.find(' ') != std::string_view::npos) return false;
    bool IsUnion = false;
    TFuzzyOperation Operation{};
    return IsFuzzyKeyword(Name, IsUnion, Operation) || IsFuzzyHedgeOperator(Name) || IsFuzzyHedge(Name);
}

// Appends "(x y) " with four decimals each.
void AppendPointText(std::string& Text, const TFuzzySetValue& Point) {
    Text += '(';
    Text += FormatFixed(Point.GetX(), 4);
    Text += ' ';
    Text += FormatFixed(Point.GetY(), 4);
    Text += ") ";
}

}  // namespace

// ---- Life cycle ------------------------------------------------------------------------

// The set has not joined Collection yet (and a constructor reaches no override), so the
// designing state comes from the collection's variable directly.
TFuzzySet::TFuzzySet(TCollection* Collection) : FDefined(DefinedFor(Collection)) {}

bool TFuzzySet::DefinedFor(const TCollection* Collection) noexcept {
    const auto* Sets = DownCast<const TFuzzySets>(Collection);
    const TFuzzyVariable* Variable = Sets != nullptr ? Sets->GetVariable() : nullptr;
    return Variable != nullptr && Variable->InDesignMode();
}

TFuzzySet::~TFuzzySet() = default;

void TFuzzySet::AfterConstruction() {
    TGCollectionItem::AfterConstruction();
    FValues = CreateValues();
}

TOwned<TFuzzySetValues> TFuzzySet::CreateValues() { return Make<TFuzzySetValues>(this); }

TOwned<TFuzzySet> TFuzzySet::NewSibling() const {
    const TFuzzySetClass Class = ClassType();
    if (Class == TFuzzySetClass::Of<TFuzzySet>()) return NewRecycled(GetCollection());
    return TOwned<TFuzzySet>(Class.Create(GetCollection()));
}

// ---- Recycled derived sets ------------------------------------------------------------------

// Rules that fire make and free a few derived sets each (a clone, a combined set). Freed
// ones wait here, per thread, with their point lists and string buffers, for the next.
class TFuzzySet::TRecycler {
public:
    [[nodiscard]] static TFuzzySet* Take() noexcept {
        TRecycler& Pool = Instance();
        if (Pool.FSets.empty()) return nullptr;
        TFuzzySet* Set = Pool.FSets.back();
        Pool.FSets.pop_back();
        return Set;
    }
    [[nodiscard]] static bool HasRoom() noexcept { return Alive && Instance().FSets.size() < Capacity; }
    static void Keep(TFuzzySet* Set) noexcept { Instance().FSets.push_back(Set); }  // capacity reserved

    TRecycler(const TRecycler&) = delete;
    TRecycler& operator=(const TRecycler&) = delete;

private:
    static constexpr std::size_t Capacity = 64;
    TRecycler() {
        FSets.reserve(Capacity);
        Alive = true;
    }
    ~TRecycler() {
        Alive = false;
        for (TFuzzySet* Set : FSets) delete Set;
    }
    static TRecycler& Instance() noexcept {
        thread_local TRecycler Pool;
        return Pool;
    }

    static inline thread_local bool Alive = false;
    std::vector<TFuzzySet*> FSets;
};

// As the class reference makes a set: constructed (here: taken and made new), then joined.
TOwned<TFuzzySet> TFuzzySet::NewRecycled(TCollection* Collection) {
    TOwned<TFuzzySet> Set(TRecycler::Take());
    if (Set) {
        Set->FDefined = DefinedFor(Collection);
    } else {
        Set.reset(new TFuzzySet(Collection));
        Set->AfterConstruction();
        Set->FRecyclable = true;
    }
    if (Collection != nullptr) Set->SetCollection(Collection);
    return Set;
}

// BeforeDestruction has run on the whole set (it left its collection, reported as usual).
void TFuzzySet::FreeInstance() {
    if (FRecyclable && TRecycler::HasRoom()) {
        ResetForReuse();
        TRecycler::Keep(this);
        return;
    }
    TGCollectionItem::FreeInstance();
}

namespace {

// Long texts are not kept: a pooled set holds only what typical names need.
void ClearText(std::string& Text) noexcept {
    constexpr std::size_t KeptCapacity = 256;
    if (Text.capacity() > KeptCapacity)
        std::string().swap(Text);
    else
        Text.clear();
}

}  // namespace

void TFuzzySet::ResetForReuse() noexcept {
    ResetItem();
    ResetFields();
}

void TFuzzySet::ResetFields() noexcept {
    FValues->ResetForReuse();
    ResetOwnFields();
}

void TFuzzySet::ResetOwnFields() noexcept {
    FSetType = fstUserDefined;
    ClearText(FName);
    FInflectionPoint = 0;
    ClearText(FComment);
    FDefined = false;
    FTag = 0;
    ClearText(FExpression);
    FDeferred.clear();
    FMax = 0;
}

// ---- Properties --------------------------------------------------------------------------

void TFuzzySet::SetName(const std::string& Value) {
    CatchUp();
    if (Value == FName) return;
    CheckName(Value);
    FName = Value;
    Changed(false);
}

std::string& TFuzzySet::DerivedNameBuffer() noexcept {
    thread_local std::string Buffer;
    Buffer.clear();
    return Buffer;
}

// A descendant gets a copy: its SetName may derive names itself, reusing the buffer.
void TFuzzySet::SetDerivedName(std::string& Name) {
    if (!IsPlainSet()) {
        SetName(std::string(Name));
        return;
    }
    CatchUp();
    if (Name == FName) return;
    // No check: a derived name has blanks around its operator, and no reserved word has one.
    FName.swap(Name);
    Changed(false);
}

void TFuzzySet::CheckName(const std::string& Value) {
    if (IsReservedWord(Value)) throw EFzyException(SInvalidFuzzySetName, {Value});
}

void TFuzzySet::SetComment(const std::string& Value) {
    if (Value == FComment) return;
    FComment = Value;
    Changed(false);
}

void TFuzzySet::SetComment(std::string&& Value) {
    if (Value == FComment) return;
    FComment = std::move(Value);
    Changed(false);
}

void TFuzzySet::SetValues(const TFuzzySetValues& Value) { FValues->Assign(Value); }

void TFuzzySet::DefineProperties(TPropertyList& Properties) {
    TGCollectionItem::DefineProperties(Properties);
    Properties.String<&TFuzzySet::GetName, &TFuzzySet::SetName>("Name", this);
    Properties.String<&TFuzzySet::GetComment, static_cast<void (TFuzzySet::*)(const std::string&)>(
                                                  &TFuzzySet::SetComment)>("Comment", this);
    Properties.BooleanStored<&TFuzzySet::GetDefined, &TFuzzySet::SetDefined>("Defined", this, false);
    Properties.IntegerStored<&TFuzzySet::GetTag, &TFuzzySet::SetTag>("Tag", this, 0);
    Properties.Collection("Values", *FValues, false, [](TCollectionItem& Point) {
        const auto& Value = static_cast<const TFuzzySetValue&>(Point);
        Value.GetCollection()->CheckStreamedPoint(Value);
    });
    Properties.EnumerationStored<&TFuzzySet::GetSetType, &TFuzzySet::SetSetType>("SetType", this,
                                                                                 fstUserDefined);
    // After the points: their closing report clears the expression.
    Properties.String<&TFuzzySet::GetExpression, &TFuzzySet::SetExpression>("Expression", this);
    Properties.Float<&TFuzzySet::GetInflectionPoint, &TFuzzySet::SetInflectionPoint>("InflectionPoint", this,
                                                                                     0.0);
}

void TFuzzySet::SetCollection(TCollection* Value) {
    RequireCollection<TFuzzySets>(*this, Value);
    TGCollectionItem::SetCollection(Value);
}

// SetCollection admits only set collections, so the owner is known to be one.
TFuzzySets* TFuzzySet::GetCollection() const noexcept {
    return static_cast<TFuzzySets*>(TGCollectionItem::GetCollection());
}

TFuzzyVariable* TFuzzySet::GetVariable() const noexcept {
    const TFuzzySets* Sets = GetCollection();
    return Sets != nullptr ? Sets->GetVariable() : nullptr;
}

TFzyFloat TFuzzySet::GetCompatibilityIndex() const {
    return FValues->Count() == 0 ? 0.0 : FValues->GetMaxValue();
}

std::string TFuzzySet::GetDisplayName() const {
    CatchUp();
    return FName.empty() ? TGCollectionItem::GetDisplayName() : FName;
}

// ---- Point-list reports ---------------------------------------------------------------------

// The state is updated before the change is signalled, so handlers see the new type.
void TFuzzySet::UpdateFuzzySetValue(TFuzzySetValue* /*Value*/) { UpdateFuzzySetValues(); }

void TFuzzySet::UpdateFuzzySetValues() {
    FSetType = fstUserDefined;
    CatchUp();
    FExpression.clear();
    Changed(false);
}

// ---- Shapes ---------------------------------------------------------------------------------------

void TFuzzySet::CreateTriangleFunctionValues(TFzyFloat Left, TFzyFloat Middle, TFzyFloat Right) {
    {
        const TUpdateGuard Update(*FValues);
        if (Right < Left) Right = Left;
        if (Middle < Left)
            Middle = Left;
        else if (Middle > Right)
            Middle = Right;
        FValues->Add(Left, 0.0);
        FValues->Add(Middle, 1.0);
        FValues->Add(Right, 0.0);
    }
    FSetType = fstTriangle;
}

void TFuzzySet::CreateCurveValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat InflectionPoint,
                                  bool Growth) {
    if (Left > Right) throw EFzyException(SInvalidRangeArguments, {Left, Right});
    if (N < 3) N = 3;
    {
        const TUpdateGuard Update(*FValues);
        const long double L = Left;
        const long double R = Right;
        const long double Width = R - L;
        const long double Middle = (L + R) / 2;
        for (int I = 0; I < N; ++I) {
            // Each X from its index, and the last one exactly Right: no drift from summing steps.
            const long double X = I == N - 1 ? R : L + Width * I / (N - 1);
            long double Y = 1;
            if (X <= L)
                Y = 0;
            else if (X <= Middle)
                Y = 2 * ((X - L) / Width) * ((X - L) / Width);
            else if (X <= R)
                Y = 1 - 2 * ((X - R) / Width) * ((X - R) / Width);
            if (!Growth) Y = 1 - Y;
            FValues->Add(static_cast<TFzyFloat>(X), static_cast<TFzyFloat>(Y));
        }
    }
    FInflectionPoint = InflectionPoint;
    FSetType = Growth ? fstGrowthCurve : fstDeclineCurve;
}

void TFuzzySet::CreatePIFunctionValues(int N, TFzyFloat Left, TFzyFloat Right, TFzyFloat Center) {
    if (Left > Right) throw EFzyException(SInvalidRangeArguments, {Left, Right});
    Center = std::clamp(Center, Left, Right);
    const int Start = FValues->Count();
    {
        const TUpdateGuard Update(*FValues);
        CreateCurveValues(N / 2 + 1, Left, Center, Left + (Center - Left) / 2, true);
        if (N % 2 == 0) FValues->Delete(FValues->Count() - 1);
        CreateCurveValues(N / 2 + 1, Center, Right, Center + (Right - Center) / 2, false);
        if (FValues->Count() - Start > N) FValues->Delete(Start + N / 2);
    }
    FSetType = fstPICurve;
}

void TFuzzySet::CreatePIFunctionValues(int N, TFzyFloat Range, TFzyFloat Center) {
    CreatePIFunctionValues(N, Center - Range, Center + Range, Center);
}

void TFuzzySet::CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center,
                                              TFzyFloat InflectionPoint, TFzyFloat Weight) {
    if (N < 3) N = 3;
    {
        const TUpdateGuard Update(*FValues);
        const long double First = static_cast<long double>(Center) - Range;
        const long double Last = static_cast<long double>(Center) + Range;
        for (int I = 0; I < N; ++I) {
            const long double X = I == N - 1 ? Last : First + 2.0L * Range * I / (N - 1);
            long double Y = 0;
            if (InflectionPoint != 0) {
                const long double Ratio = (X - Center) / InflectionPoint;
                Y = 1 / (1 + Weight * Ratio * Ratio);
            } else {
                // The limit of a vanishing inflection width: a spike at Center.
                Y = X == Center ? 1 : 0;
            }
            FValues->Add(static_cast<TFzyFloat>(X), static_cast<TFzyFloat>(Y));
        }
    }
    FInflectionPoint = InflectionPoint;
    FSetType = fstBetaCurve;
}

void TFuzzySet::CreateBetaCurveFunctionValues(int N, TFzyFloat Range, TFzyFloat Center,
                                              TFzyFloat InflectionPoint) {
    CreateBetaCurveFunctionValues(N, Range, Center, InflectionPoint, 1.0);
}

void TFuzzySet::CreateCrispValue(TFzyFloat X) {
    {
        const TUpdateGuard Update(*FValues);
        FValues->Clear();
        CreateTriangleFunctionValues(X, X, X);
    }
    CatchUp();
    FExpression = FormatFixed(X, 4);
}

void TFuzzySet::SetSetType(TFuzzySetType Value) {
    if (Value == FSetType) return;
    FSetType = Value;
    // Stored points read back before the type must survive: no shape while loading.
    if (Value == fstUserDefined || GetSettings().Loading) {
        Changed(false);
        return;
    }
    GenerateShape(Value);
    FSetType = Value;  // the requested shape is kept, not the closing report's user-defined type
    Changed(false);
}

void TFuzzySet::GenerateShape(TFuzzySetType Type) {
    const TFzyFloat Max = GetXRange(0);
    const TFzyFloat Min = GetXRange(1);
    const int N = GetSettings().NumFunctionValues;
    const bool IsCurve = Type == fstDeclineCurve || Type == fstGrowthCurve;
    const TFzyFloat A = IsCurve ? Min + (Max - Min) * ONE_THIRD : (Max - Min) * ONE_THIRD;
    const TFzyFloat B = IsCurve ? Min + (Max - Min) * TWO_THIRDS : (Max - Min) / 2;
    const TUpdateGuard Update(*FValues);
    FValues->Clear();
    switch (Type) {
        case fstTriangle: CreateTriangleFunctionValues(B - A, B, B + A); break;
        case fstDeclineCurve: CreateCurveValues(N, A, B, A + (B - A) / 2, false); break;
        case fstPICurve: CreatePIFunctionValues(N, A, B); break;
        case fstBetaCurve: CreateBetaCurveFunctionValues(N, A, B, (B - A) / 2); break;
        case fstGrowthCurve: CreateCurveValues(N, A, B, A + (B - A) / 2, true); break;
        case fstUserDefined: break;
    }
}

// ---- Membership ------------------------------------------------------------------------------------

TFzyFloat TFuzzySet::DegreeOfMembershipWithin(TFzyFloat X) const {
    const TFuzzySetValues& Points = *FValues;
    const int Count = Points.Count();
    const TFuzzySetValue* First = Points.PointAt(0);
    if (X == First->GetX()) return Points.PointAt(GetMaxYValueOfX(0, 1))->GetY();
    const TFuzzySetValue* Last = Points.PointAt(Count - 1);
    if (X == Last->GetX()) return Points.PointAt(GetMaxYValueOfX(Count - 1, -1))->GetY();
    // The first point after the first whose X is not below X: by halving a long sorted list,
    // by walking a short one or one that a bulk update has left unsorted.
    constexpr int Short = 8;
    int I = 1;
    if (Points.IsSorted() && Count > Short) {
        for (int High = Count; I < High;) {
            const int Middle = I + (High - I) / 2;
            if (Points.PointAt(Middle)->GetX() < X)
                I = Middle + 1;
            else
                High = Middle;
        }
    } else {
        while (I < Count && Points.PointAt(I)->GetX() < X) ++I;
    }
    if (I < Count) {
        const TFuzzySetValue* Point = Points.PointAt(I);
        // The highest point of a vertical step wins.
        if (Point->GetX() == X) return Points.PointAt(GetMaxYValueOfX(I, 1))->GetY();
        if (Point->GetX() > X) {
            const TFuzzySetValue* Previous = Points.PointAt(I - 1);
            return InterpolateY(Previous->GetX(), Previous->GetY(), Point->GetX(), Point->GetY(), X);
        }
    }
    return Last->GetY();
}

TFzyFloat TFuzzySet::GetXRange(int Index) const {
    if (Index != 0 && Index != 1) throw EFzyException(SInvalidXRangeIndex, {Index});
    TFzyFloat Lower = 0;
    TFzyFloat Upper = 0;
    GetXBounds(Lower, Upper);
    return Index == 0 ? Upper : Lower;
}

void TFuzzySet::GetXBounds(TFzyFloat& Lower, TFzyFloat& Upper) const {
    const TFuzzyVariable* Variable = GetVariable();
    Lower = Variable != nullptr ? Variable->GetMinimum() : -UnboundedX;
    Upper = Variable != nullptr ? Variable->GetMaximum() : UnboundedX;
}

TFuzzySetSettings TFuzzySet::GetSettings() const {
    const TFuzzyVariable* Variable = GetVariable();
    return Variable != nullptr ? Variable->GetSetSettings() : TFuzzySetSettings{};
}

int TFuzzySet::GetMaxYValueOfX(int Index, int Direction) const {
    return ExtremeYOfX(Index, Direction, [](TFzyFloat Y, TFzyFloat Best) { return Y > Best; });
}

int TFuzzySet::GetMinYValueOfX(int Index, int Direction) const {
    return ExtremeYOfX(Index, Direction, [](TFzyFloat Y, TFzyFloat Best) { return Y < Best; });
}

// Walks the points sharing point Index's X; only a strictly better Y replaces
// the best so far, so on ties the point met first wins.
template <class TBetter>
int TFuzzySet::ExtremeYOfX(int Index, int Direction, TBetter Better) const {
    const TFuzzySetValues& Points = *FValues;
    const TFzyFloat X = Points.GetItem(Index)->GetX();
    int Best = Index;
    for (int I = Index + Direction; I >= 0 && I < Points.Count() && FloatEquals(Points.GetItem(I)->GetX(), X);
         I += Direction)
        if (Better(Points.GetItem(I)->GetY(), Points.GetItem(Best)->GetY())) Best = I;
    return Best;
}

// ---- Copies and text ------------------------------------------------------------------------------

void TFuzzySet::Assign(const TPersistent& Source) {
    const auto* Other = DownCast<const TFuzzySet>(&Source);
    if (Other == nullptr) {
        TGCollectionItem::Assign(Source);
        return;
    }
    AssignSet(*Other);
}

void TFuzzySet::AssignSet(const TFuzzySet& Other) {
    if (&Other == this) return;
    Other.CatchUp();
    CatchUp();  // nothing deferred may be written over what is copied
    FName = Other.FName;
    FValues->AssignPoints(*Other.FValues);
    FSetType = Other.FSetType;
    FInflectionPoint = Other.FInflectionPoint;
    FExpression = Other.FExpression;
    Changed(false);
}

TOwned<TFuzzySet> TFuzzySet::Clone() const {
    TOwned<TFuzzySet> Copy = NewSibling();
    Copy->Assign(*this);
    return Copy;
}

TOwned<TFuzzySet> TFuzzySet::CloneInto(TCollection* Collection) const {
    TOwned<TFuzzySet> Copy = NewRecycled(Collection);
    Copy->AssignSet(*this);
    return Copy;
}

std::string TFuzzySet::ToString() const {
    if (TFuzzySetPrinter* Printer = GetSettings().Printer) return Printer->PrettyPrint(*this, false);
    CatchUp();
    std::string Text(1, '(');
    Text += FName;
    Text += ' ';
    for (const TFuzzySetValue* Point : *FValues) AppendPointText(Text, *Point);
    Text += ')';
    return Text;
}

std::string TFuzzySet::GetValuesToString() const {
    std::string Text(1, '(');
    for (const TFuzzySetValue* Point : *FValues) AppendPointText(Text, *Point);
    Text += ')';
    return Text;
}

}  // namespace fzl
