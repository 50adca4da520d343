#include "student/student.h"

#include <utility>

Student::Student(std::string firstName, std::string lastName, float tuition)
    : FName(std::move(firstName)),
      LName(std::move(lastName)),
      Tuition(tuition)
{
}

std::string Student::GetFName() const
{
    return FName;
}

std::string Student::GetLName() const
{
    return LName;
}

float Student::GetTuition() const
{
    return Tuition;
}
