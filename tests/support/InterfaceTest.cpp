#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fzl/support/Cloneable.h>
#include <fzl/support/Interface.h>
#include <fzl/support/Interfaced.h>
#include <fzl/support/IntfPtr.h>

namespace fzl {
namespace {

// ---- Test interfaces: a base, its descendant and an unrelated one ----------------

class IShape : public IInterface {
public:
    using TInterface = IShape;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{B24A1C2F-C391-439A-9C6C-BE8D42608258}");
    [[nodiscard]] virtual std::string Describe() const = 0;

protected:
    ~IShape() = default;
};

class ICircle : public IShape {
public:
    using TInterface = ICircle;
    using TInherited = IShape;
    static constexpr TGUID IID = TGUID::Parse("{19A144A1-8998-4F31-8091-4B472C57663E}");
    [[nodiscard]] virtual double Radius() const = 0;

protected:
    ~ICircle() = default;
};

class ILink : public IInterface {
public:
    using TInterface = ILink;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{BBC049B2-D3C9-49BC-B810-B3F96C88C3DE}");
    virtual void SetNext(const TIntfPtr<ILink>& Next) = 0;
    [[nodiscard]] virtual TIntfPtr<ILink> GetNext() const = 0;

protected:
    ~ILink() = default;
};

// One implementation of IShape reused by the implementation of ICircle: the
// template is parameterised by the interface it implements.
template <class I = IShape>
class TShapeImpl : public TInterfaced<TObject, I> {
public:
    explicit TShapeImpl(std::string Name) : FName(std::move(Name)) {}
    [[nodiscard]] std::string Describe() const override { return FName; }

private:
    std::string FName;
};

class TCircle final : public TShapeImpl<ICircle> {
public:
    explicit TCircle(double Radius) : TShapeImpl<ICircle>("circle"), FRadius(Radius) {}
    [[nodiscard]] double Radius() const override { return FRadius; }

private:
    double FRadius;
};

// Two unrelated interfaces on one object.
class TNode final : public TInterfaced<TObject, IShape, ILink> {
public:
    [[nodiscard]] std::string Describe() const override { return "node"; }
    void SetNext(const TIntfPtr<ILink>& Next) override { FNext = Next; }
    [[nodiscard]] TIntfPtr<ILink> GetNext() const override { return FNext; }

private:
    TIntfPtr<ILink> FNext;
};

TEST(Interface, IdentifiersParsePrintAndDiffer) {
    constexpr TGUID Id = TGUID::Parse("{644ca342-5c94-436a-90e3-fb9beb7e8ba6}");
    EXPECT_EQ(Id.ToString(), "{644CA342-5C94-436A-90E3-FB9BEB7E8BA6}");
    EXPECT_EQ(TGUID::Parse("644CA342-5C94-436A-90E3-FB9BEB7E8BA6"), Id);  // braces are optional
    EXPECT_EQ(IInterface::IID.ToString(), "{00000000-0000-0000-C000-000000000046}");
    EXPECT_EQ(E_NOINTERFACE, static_cast<THResult>(0x80004002U));
    EXPECT_NE(ICircle::IID, IShape::IID);  // a descendant has its own identifier
}

TEST(Interface, CopyAddsMoveTransfersAndTheLastReleaseFrees) {
    const auto Before = LiveRefCountedObjects();
    {
        TIntfPtr<TCircle> Circle = MakeIntf<TCircle>(2.0);
        EXPECT_EQ(Circle->GetRefCount(), 1);  // the factory's reference is the only one
        EXPECT_EQ(LiveRefCountedObjects(), Before + 1);

        TIntfPtr<ICircle> AsCircle = Circle;  // widening copy
        TIntfPtr<IShape> AsShape = AsCircle;
        EXPECT_EQ(Circle->GetRefCount(), 3);
        TIntfPtr<IShape> Moved = std::move(AsShape);  // no count traffic
        EXPECT_EQ(Circle->GetRefCount(), 3);
        EXPECT_FALSE(AsShape);  // NOLINT(bugprone-use-after-move): moved-from is nil

        const TIntfPtr<IShape>& Same = Moved;
        Moved = Same;  // self-assignment keeps the object
        EXPECT_EQ(Circle->GetRefCount(), 3);
        Moved.Reset();
        AsCircle = nullptr;
        EXPECT_EQ(Circle->GetRefCount(), 1);
        EXPECT_EQ(Circle->Describe(), "circle");
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

TEST(Interface, QueryFindsParentsAndSiblingsOrGivesNil) {
    const TIntfPtr<IShape> Shape = MakeIntf<TCircle>(1.5);
    const TIntfPtr<ICircle> Circle = Shape.Query<ICircle>();  // down, through QueryInterface
    ASSERT_TRUE(Circle);
    EXPECT_EQ(Circle->Radius(), 1.5);
    EXPECT_FALSE(Shape.Query<ILink>());
    EXPECT_FALSE(Supports<ILink>(Shape));
    TIntfPtr<ICircle> Target;
    EXPECT_TRUE(Supports(Shape, Target));
    EXPECT_EQ(Target, Circle);
    EXPECT_FALSE(TIntfPtr<IShape>().Query<ICircle>());  // nil stays nil

    const TIntfPtr<TNode> Node = MakeIntf<TNode>();
    const TIntfPtr<IShape> NodeShape = Node;
    const TIntfPtr<ILink> NodeLink = NodeShape.Query<ILink>();  // sideways
    ASSERT_TRUE(NodeLink);
    // Identity: the root interface is the same pointer whichever way it is reached.
    EXPECT_EQ(NodeShape.Query<IInterface>(), NodeLink.Query<IInterface>());
    EXPECT_TRUE(SameObject(NodeShape, NodeLink));
    EXPECT_FALSE(SameObject(NodeShape, Shape));
    EXPECT_EQ(Node->GetRefCount(), 3);
}

// Takes and drops references to itself while it is being built and while it goes.
class TSelfReferencing final : public TInterfaced<TObject, IShape> {
public:
    explicit TSelfReferencing(bool FailAfterConstruction) : FFail(FailAfterConstruction) {
        const auto Self = AsIntf();  // count 1 (guard) + 1, back to 1: not freed
    }
    void AfterConstruction() override {
        TInterfaced::AfterConstruction();
        static_cast<void>(AsIntf<IShape>());
        if (FFail) throw std::runtime_error("incomplete");
    }
    [[nodiscard]] std::string Describe() const override { return "self"; }

protected:
    void BeforeDestruction() override {
        static_cast<void>(AsIntf());  // a reference taken while going must not free twice
        TInterfaced::BeforeDestruction();
    }

private:
    bool FFail;
};

TEST(Interface, FirstReferenceOnlyOnceCompleteAndSelfReferencesWhileGoing) {
    const auto Before = LiveRefCountedObjects();
    {
        const auto Object = MakeIntf<TSelfReferencing>(false);
        EXPECT_EQ(Object->GetRefCount(), 1);
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
    EXPECT_THROW(static_cast<void>(MakeIntf<TSelfReferencing>(true)), std::runtime_error);
    EXPECT_EQ(LiveRefCountedObjects(), Before);  // a failed AfterConstruction leaks nothing
}

TEST(Interface, CycleLivesUntilBrokenByHand) {
    const auto Before = LiveRefCountedObjects();
    ILink* Observer = nullptr;  // not a reference: it keeps nothing alive
    {
        const TIntfPtr<ILink> A = MakeIntf<TNode>();
        const TIntfPtr<ILink> B = MakeIntf<TNode>();
        A->SetNext(B);
        B->SetNext(A);
        Observer = A.Get();
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before + 2);       // neither reaches 0 on its own
    TIntfPtr<ILink>::Retain(Observer)->SetNext(nullptr);  // A lets go of B: B goes, then A
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

TEST(Interface, AssigningAValueOnlyTheOldObjectKeptAlive) {
    const auto Before = LiveRefCountedObjects();
    {
        TIntfPtr<ILink> Head = MakeIntf<TNode>();
        Head->SetNext(MakeIntf<TNode>());
        Head = Head->GetNext();  // the new value is taken before the old head goes
        EXPECT_FALSE(Head->GetNext());
    }
    EXPECT_EQ(LiveRefCountedObjects(), Before);
}

TEST(Interface, CountsAreAtomic) {
    const TIntfPtr<TCircle> Circle = MakeIntf<TCircle>(1.0);
    const TIntfPtr<IShape> Shared = Circle;
    std::vector<std::thread> Threads;
    for (int Thread = 0; Thread < 4; ++Thread)
        Threads.emplace_back([&Shared] {
            for (int Copy = 0; Copy < 20000; ++Copy) {
                const TIntfPtr<IShape> Local = Shared;
                static_cast<void>(Local);
            }
        });
    for (std::thread& Thread : Threads) Thread.join();
    EXPECT_EQ(Circle->GetRefCount(), 2);
}

// ---- Class references, uncounted objects, name clashes -----------------------------

class TSquare : public TShapeImpl<> {
public:
    explicit TSquare(std::string Name) : TShapeImpl<>(std::move(Name)) {}
};
class TRedSquare final : public TSquare {
public:
    explicit TRedSquare(std::string Name) : TSquare("red " + std::move(Name)) {}
};
using TSquareClass = TIntfClassRef<TSquare, std::string>;

class TComponentLike final : public TUncountedInterfaced<TObject, IShape> {
public:
    [[nodiscard]] std::string Describe() const override { return "component"; }
    void Destroy() { Free(); }
};

// A framework class with a virtual whose name and parameters an interface repeats
// with another result type: no class can override both, so a bridge implements the
// interface's one by forwarding to a differently named virtual.
class TEngine : public TObject {
public:
    virtual TEngine* Scale(double Factor) {
        FSize *= Factor;
        return this;
    }
    [[nodiscard]] double Size() const noexcept { return FSize; }

private:
    double FSize = 1;
};

class IScalable : public IInterface {
public:
    using TInterface = IScalable;
    using TInherited = IInterface;
    static constexpr TGUID IID = TGUID::Parse("{31B2C1ED-9461-4C2A-981D-8F1A6BB568B3}");
    virtual TIntfPtr<IScalable> Scale(double Factor) = 0;

protected:
    ~IScalable() = default;
};

class TScalableBridge : public IScalable {
public:
    TIntfPtr<IScalable> Scale(double Factor) final { return ScaleIntf(Factor); }

protected:
    ~TScalableBridge() = default;
    virtual TIntfPtr<IScalable> ScaleIntf(double Factor) = 0;
};

class TScalableEngine final : public TInterfaced<TEngine, TScalableBridge> {
protected:
    TIntfPtr<IScalable> ScaleIntf(double Factor) override {
        TEngine::Scale(Factor);
        return AsIntf<IScalable>();
    }
};

TEST(Interface, ClassReferencesUncountedObjectsAndBridges) {
    const TSquareClass Class = TSquareClass::Of<TRedSquare>();
    const TIntfPtr<TSquare> Square = Class.Create("tile");
    EXPECT_EQ(Square->Describe(), "red tile");
    EXPECT_EQ(Square->GetRefCount(), 1);
    EXPECT_NE(Class, TSquareClass::Of<TSquare>());

    auto* Component = new TComponentLike;  // NOLINT(cppcoreguidelines-owning-memory): freed by Destroy
    {
        const TIntfPtr<IShape> Held = Component->AsIntf();
        EXPECT_EQ(Held->Describe(), "component");
    }  // dropping the reference does not free a component
    EXPECT_EQ(Component->Describe(), "component");
    Component->Destroy();

    const TIntfPtr<TScalableEngine> Engine = MakeIntf<TScalableEngine>();
    const TIntfPtr<IScalable> Scalable = Engine;
    EXPECT_EQ(Scalable->Scale(3)->Scale(2), Scalable);  // through the interface
    EXPECT_EQ(Engine->Size(), 6);
    EXPECT_EQ(Scalable.Query<IInterface>().Query<IScalable>(), Scalable);  // the bridge answers as IScalable
}

#ifndef NDEBUG
TEST(InterfaceDeathTest, FreeingWithReferencesLeftAsserts) {
    EXPECT_DEATH(
        {
            const TIntfPtr<TCircle> Circle = MakeIntf<TCircle>(1.0);
            static_cast<TObject*>(Circle.Get())->Free();  // by hand, with a reference left
        },
        "references to it remain");
}
#endif

}  // namespace
}  // namespace fzl
