#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "errors/epilogue.h"
#include "report_recorder.h"

namespace fk {
namespace {

constexpr Procedure kProc{"Error in y_work_together: Function demo", "demo"};

TEST(Epilogue, FailedStepIsReportedAndTheProcedureGoesOn) {
    test::ReportRecorder recorder;
    int reached = 0;
    EXPECT_FALSE(kProc.step([] { raise(err::FileNotFound); }));
    EXPECT_TRUE(kProc.step([&] { reached = 1; }));
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(recorder.reports[0].number, 53);
    EXPECT_EQ(recorder.reports[0].description, "File not found");
    EXPECT_EQ(recorder.reports[0].label, "Error in y_work_together: Function demo");
    EXPECT_EQ(recorder.reports[0].name, "demo");
    EXPECT_EQ(reached, 1);
}

TEST(Epilogue, FailedAssignmentLeavesTheTargetAsItWas) {
    test::ReportRecorder recorder;
    std::string target = "before";
    EXPECT_FALSE(kProc.assign(target, []() -> std::string { raise(err::Overflow); }));
    EXPECT_EQ(target, "before");
    EXPECT_TRUE(kProc.assign(target, [] { return std::string("after"); }));
    EXPECT_EQ(target, "after");
}

TEST(Epilogue, CppFailuresBecomeRuntimeErrors) {
    test::ReportRecorder recorder;
    kProc.step([] { throw std::bad_alloc(); });
    kProc.step([] { (void)toInt16(std::size_t{32768}); });
    kProc.step([] { throw std::runtime_error("kaputt"); });
    ASSERT_EQ(recorder.reports.size(), 3u);
    EXPECT_EQ(recorder.reports[0].number, 7);
    EXPECT_EQ(recorder.reports[0].description, "Out of memory");
    EXPECT_EQ(recorder.reports[1].number, 6);
    EXPECT_EQ(recorder.reports[1].description, "Overflow");
    EXPECT_EQ(recorder.reports[2].number, 5);
    EXPECT_EQ(recorder.reports[2].description, "kaputt");
}

TEST(Epilogue, IgnoreErrorsModeReportsNothing) {
    test::ReportRecorder recorder;
    EXPECT_FALSE(quietly([] { raise(err::PathNotFound); }));
    EXPECT_TRUE(recorder.reports.empty());
}

TEST(Epilogue, SixteenBitLimits) {
    EXPECT_EQ(toInt16(std::size_t{32767}), 32767);
    EXPECT_EQ(toInt16(-32768LL), -32768);
    EXPECT_THROW(toInt16(-32769LL), RuntimeError);
}

TEST(RuntimeErrors, SystemErrorCodesMapToRuntimeNumbers) {
    EXPECT_EQ(runtimeNumberFromSystemError(2), 53);
    EXPECT_EQ(runtimeNumberFromSystemError(3), 76);
    EXPECT_EQ(runtimeNumberFromSystemError(32), 70);
    EXPECT_EQ(runtimeNumberFromSystemError(112), 61);
    EXPECT_EQ(runtimeNumberFromSystemError(999999, err::InvalidProcedureCall), 5);
}

}  // namespace
}  // namespace fk
