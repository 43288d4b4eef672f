#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

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

// Implements IShape through its descendant ICircle.
class TCircle final : public TInterfaced<TObject, ICircle> {
public:
    explicit TCircle(double Radius) : FRadius(Radius) {}
    [[nodiscard]] std::string Describe() const override { return "circle"; }
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

TEST(Interface, IdentifiersParseAndPrint) {
    constexpr TGUID Id = TGUID::Parse("{644ca342-5c94-436a-90e3-fb9beb7e8ba6}");
    EXPECT_EQ(Id.ToString(), "{644CA342-5C94-436A-90E3-FB9BEB7E8BA6}");
    EXPECT_EQ(TGUID::Parse("644CA342-5C94-436A-90E3-FB9BEB7E8BA6"), Id);  // braces are optional
    EXPECT_EQ(IInterface::IID.ToString(), "{00000000-0000-0000-C000-000000000046}");
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

        TIntfPtr<ILink> Head = MakeIntf<TNode>();
        Head->SetNext(MakeIntf<TNode>());
        Head = Head->GetNext();  // the new value is taken before the old head, which held it, goes
        EXPECT_FALSE(Head->GetNext());
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

// Takes and drops references to itself while it is being built and while it goes. (References
// taken in AfterConstruction, and one that fails: the reference-counted sets' lifetime tests.)
class TSelfReferencing final : public TInterfaced<TObject, IShape> {
public:
    TSelfReferencing() {
        const auto Self = AsIntf();  // count 1 (guard) + 1, back to 1: not freed
    }
    [[nodiscard]] std::string Describe() const override { return "self"; }

protected:
    void BeforeDestruction() override {
        static_cast<void>(AsIntf());  // a reference taken while going must not free twice
        TInterfaced::BeforeDestruction();
    }
};

TEST(Interface, FirstReferenceOnlyOnceCompleteAndSelfReferencesWhileGoing) {
    const auto Before = LiveRefCountedObjects();
    EXPECT_EQ(MakeIntf<TSelfReferencing>()->GetRefCount(), 1);
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
