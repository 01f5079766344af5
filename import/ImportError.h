#pragma once

#include <stdexcept>
#include <string>

namespace zentaro {

// Every error of the import layer carries the exact text the user sees.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zentaro
