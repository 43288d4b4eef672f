#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include <fzl/support/UpdateGuard.h>

namespace fzl {
namespace {

// A bracket whose closing report fails once FailReport is set.
struct TTarget {
    int Depth = 0, Reports = 0;
    bool FailReport = false;
    void BeginUpdate() { ++Depth; }
    void EndUpdate() {
        if (--Depth > 0) return;
        ++Reports;
        if (FailReport) throw std::runtime_error("report");
    }
};

TEST(UpdateGuard, ClosesOnceAndNeverThrowsOverAnotherException) {
    TTarget Target;
    {
        const TUpdateGuard Outer(Target), Inner(Target);
        EXPECT_EQ(Target.Depth, 2);
    }
    Target.FailReport = true;  // only the outermost close reported; from now on the report fails
    // Left normally: the report's exception comes through, and the bracket is closed.
    EXPECT_THROW({ const TUpdateGuard Guard(Target); }, std::runtime_error);
    // Left by an exception: that one comes through; the failing report is dropped, not terminating.
    EXPECT_THROW(
        {
            const TUpdateGuard Guard(Target);
            throw std::logic_error("body");
        },
        std::logic_error);
    EXPECT_EQ(std::pair(Target.Depth, Target.Reports), std::pair(0, 3));
}

}  // namespace
}  // namespace fzl
