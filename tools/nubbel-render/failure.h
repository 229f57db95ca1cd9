// The one kind of error the renderer reports: what it concerns (a file, an
// option) and why, printed as one line "nubbel-render: SUBJECT: reason".
#pragma once

#include <stdexcept>
#include <string>

namespace render {

struct Failure : std::runtime_error {
    Failure(std::string subjectText, std::string reasonText)
        : std::runtime_error(subjectText + ": " + reasonText),
          subject(std::move(subjectText)),
          reason(std::move(reasonText)) {}
    std::string subject;
    std::string reason;
};

// Exit codes: a failed render, and a command line that could not be understood.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace render
