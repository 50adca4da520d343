#pragma once

#include <string>

// One student's first name, last name and tuition balance. A record is built once and then
// only read: every accessor hands out a copy, so nothing a caller does can change it.
class Student {
public:
    Student() = default;
    Student(std::string firstName, std::string lastName, float tuition);

    [[nodiscard]] std::string GetFName() const;
    [[nodiscard]] std::string GetLName() const;
    [[nodiscard]] float GetTuition() const;

private:
    std::string FName;
    std::string LName;
    float Tuition = 0.0F;
};
