#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// Checks a rule row by row: what function makes of each row's input is that row's expected
// value. A failure names the input.
template <typename Input, typename Expected, typename Function>
void ExpectRows(Function function, std::initializer_list<std::pair<Input, Expected>> rows) {
    for (const auto& [input, expected] : rows) {
        EXPECT_EQ(function(input), expected) << "input " << testing::PrintToString(input);
    }
}
