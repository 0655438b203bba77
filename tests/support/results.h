#pragma once

#include "base/result.h"

#include <gtest/gtest.h>

#include <string>

// Results in the GoogleTest suites' messages.
namespace testsupport {

// The result's error, or "(none)" when it succeeded.
template <class T> std::string errorOf(const kelvane::Result<T> &result)
{
    return result.ok() ? std::string("(none)") : result.error().toStdString();
}

// Succeeds when error holds saying; fails showing both otherwise.
inline ::testing::AssertionResult says(const std::string &error, const char *saying)
{
    if (error.find(saying) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected: " << saying << "\n  actual: " << error;
}

} // namespace testsupport
