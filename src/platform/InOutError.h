#pragma once

#include <stdexcept>
#include <string>

namespace tagvane {

// The one error the engine lets out: a file operation that failed. The message
// names the operation, the path and the system's reason.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(const std::string& message) : std::runtime_error(message) {}

    // "Cannot <operation> file "<path>": <strerror(err)>"
    static InOutError fromErrno(const std::string& operation, const std::string& path, int err);
};

} // namespace tagvane
