#include "student/student.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(Student, BuiltWithNoDataHoldsEmptyNamesAndZeroTuition)
{
    const Student student;

    EXPECT_EQ(student.GetFName(), "");
    EXPECT_EQ(student.GetLName(), "");
    EXPECT_EQ(student.GetTuition(), 0.0F);
    EXPECT_FALSE(std::signbit(student.GetTuition()));
}

TEST(Student, KeepsNamesByteForByte)
{
    const Student spaced(" Mary  Ann ", "\tvan der Berg\r", 1.0F);
    EXPECT_EQ(spaced.GetFName(), " Mary  Ann ");
    EXPECT_EQ(spaced.GetLName(), "\tvan der Berg\r");

    const Student empty("", "", 1.0F);
    EXPECT_EQ(empty.GetFName(), "");
    EXPECT_EQ(empty.GetLName(), "");
}

TEST(Student, KeepsTuitionUnchanged)
{
    for (const float tuition : {-75.5F, 0.0F, -0.0F, 12.345678F, 3.4028235e38F, 1e-45F}) {
        const Student student("Ann", "Lee", tuition);
        EXPECT_EQ(student.GetTuition(), tuition);
        EXPECT_EQ(std::signbit(student.GetTuition()), std::signbit(tuition));
    }
    EXPECT_EQ(
        static_cast<double>(Student("Ann", "Lee", 12.345678F).GetTuition()), 12.345678329467773);
}

TEST(Student, SharesNoStorageWithItsCallers)
{
    std::string first = "Ann";
    std::string last = "Lee";
    const Student student(first, last, 1.0F);
    first[0] = 'X';
    last[0] = 'X';

    std::string firstOut = student.GetFName();
    std::string lastOut = student.GetLName();
    firstOut[0] = 'Y';
    lastOut.clear();

    EXPECT_EQ(student.GetFName(), "Ann");
    EXPECT_EQ(student.GetLName(), "Lee");
}
