#pragma once

#include <exception>
#include <string>

namespace zentaro::test {

// What ErrorText returns when the action throws nothing.
inline const std::string kNoError = "(no error)";

// The text of the Error that action throws, or kNoError. An exception of
// another type is not caught, so the test sees it fail instead.
template <class Error = std::exception, class Action>
std::string ErrorText(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return kNoError;
}

} // namespace zentaro::test
