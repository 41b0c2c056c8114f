// A table of the state's fields for tests that give many fields a value, run
// one step and check what the step left in each: every field is named once,
// with the value it is given and the value it should hold afterwards.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <vector>

class FieldChange {
public:
    template <typename T>
    FieldChange(const char* name, T& field, double given, double left)
        : name_(name), give_([&field, given] { field = fromNumber<T>(given); }),
          read_([&field] { return toNumber(field); }), left_(toNumber(fromNumber<T>(left))) {}

    static void giveAll(const std::vector<FieldChange>& changes) {
        for (const FieldChange& change : changes) change.give_();
    }
    static void expectAll(const std::vector<FieldChange>& changes) {
        for (const FieldChange& change : changes) EXPECT_EQ(change.read_(), change.left_) << change.name_;
    }
    // Gives every field its value, runs the step, checks every field.
    static void expectStep(const std::function<void()>& step, const std::vector<FieldChange>& changes) {
        giveAll(changes);
        step();
        expectAll(changes);
    }

private:
    template <typename T>
    static T fromNumber(double value) {
        if constexpr (std::is_enum_v<T>)
            return static_cast<T>(static_cast<std::underlying_type_t<T>>(value));
        else
            return static_cast<T>(value);
    }
    template <typename T>
    static double toNumber(T value) {
        if constexpr (std::is_enum_v<T>)
            return static_cast<double>(static_cast<std::underlying_type_t<T>>(value));
        else
            return static_cast<double>(value);
    }

    const char* name_;
    std::function<void()> give_;
    std::function<double()> read_;
    double left_;
};
