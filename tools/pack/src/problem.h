// A fault found in the input, reported as "file:line: message" so the user can go straight to it.
#pragma once

#include <string>
#include <vector>

namespace pack {

struct Problem {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string message;
};
using Problems = std::vector<Problem>;

inline std::string Describe(const Problem& p) {
    std::string text = p.file;
    if (p.line > 0) text.append(":").append(std::to_string(p.line));
    return text.append(": ").append(p.message);
}

}  // namespace pack
