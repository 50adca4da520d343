#include "student/student.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>

// The record's interface, pinned: each accessor is const and hands out a copy.
static_assert(std::is_same_v<decltype(&Student::GetFName), std::string (Student::*)() const>);
static_assert(std::is_same_v<decltype(&Student::GetLName), std::string (Student::*)() const>);
static_assert(std::is_same_v<decltype(&Student::GetTuition), float (Student::*)() const>);

// The constructor takes its strings by value. A name that converts both to a string and to a
// reference to one leaves a parameter taken by value no way to choose between the two, while a
// reference parameter takes the reference.
struct EitherName {
    operator std::string() const;
    operator const std::string&() const;
};
static_assert(std::is_constructible_v<Student, std::string, std::string, float>);
static_assert(!std::is_constructible_v<Student, EitherName&, EitherName&, float>);

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
