#include "doubles/fault_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace doubles {
namespace {

// Which of the given calls fail, in order.
std::vector<bool> Outcomes(FaultPlan& plan, const std::vector<Call>& calls) {
    std::vector<bool> failed;
    for (Call call : calls) {
        std::uint32_t error = 0;
        failed.push_back(plan.ShouldFail(call, error));
    }
    return failed;
}

TEST(FaultPlanTest, CountsEachKindAndAllCalls) {
    FaultPlan plan;
    plan.FailNth(Call::Read, 2, 31);
    plan.FailFrom(Call::Write, 2, 112);
    plan.FailNthOverall(1, 5);
    const std::vector<Call> calls = {Call::Seek,  Call::Read, Call::Write, Call::Read,
                                     Call::Write, Call::Read, Call::Write};
    EXPECT_EQ(Outcomes(plan, calls),
              (std::vector<bool>{true, false, false, true, true, false, true}));
    EXPECT_EQ(plan.Count(Call::Read), 3);
    EXPECT_EQ(plan.Count(Call::Write), 3);
    EXPECT_EQ(plan.Total(), 7);
    EXPECT_EQ(plan.Injected(), "Seek #1, Read #2, Write #2, Write #3");
}

TEST(FaultPlanTest, ReportsTheErrorOfTheRuleThatFired) {
    FaultPlan plan;
    plan.FailNth(Call::DeleteFile, 1, 5);
    plan.FailNthOverall(2, 21);
    std::uint32_t error = 0;
    EXPECT_TRUE(plan.ShouldFail(Call::DeleteFile, error));
    EXPECT_EQ(error, 5u);
    EXPECT_TRUE(plan.ShouldFail(Call::RemoveDirectory, error));
    EXPECT_EQ(error, 21u);
}

TEST(FaultPlanTest, LimitsOnlyTheChosenReadsAndWrites) {
    FaultPlan plan;
    plan.ShortRead(2, 10);
    plan.ShortWrite(1, 0);
    std::uint32_t error = 0;
    plan.ShouldFail(Call::Read, error);
    EXPECT_EQ(plan.Limit(Call::Read, 100), 100u);
    plan.ShouldFail(Call::Read, error);
    EXPECT_EQ(plan.Limit(Call::Read, 100), 10u);
    EXPECT_EQ(plan.Limit(Call::Read, 4), 4u);
    plan.ShouldFail(Call::Write, error);
    EXPECT_EQ(plan.Limit(Call::Write, 7), 0u);
    EXPECT_EQ(plan.Injected(), "short Read #2, short Write #1");
}

}  // namespace
}  // namespace doubles
