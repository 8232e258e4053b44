// The library's failures, thrown by the installer's own helpers, reach a catch of std::exception
// with the library's text, values filled in. Prints each mismatch; the exit code is their count.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Expect(const char* what, const std::function<void()>& failing, const std::string& text) {
    std::string got = "<nothing thrown>";
    try {
        failing();
    } catch (const std::exception& e) {
        got = e.what();
    }
    if (got.find(text) == std::string::npos) {
        std::printf("%s: got \"%s\", expected \"%s\"\n", what, got.c_str(), text.c_str());
        ++failures;
    }
}

}  // namespace

int main() {
    const std::string two = "ab";
    Expect("substr", [&] { (void)two.substr(3); },
           "basic_string::substr: __pos (which is 3) > this->size() (which is 2)");
    Expect("string at", [&] { (void)two.at(2); }, "basic_string::at: __n (which is 2)");
    std::vector<int> none;
    Expect("vector at", [&] { (void)none.at(0); }, "vector::_M_range_check: __n (which is 0)");
    std::string text;
    Expect("reserve", [&] { text.reserve(text.max_size() + 1); }, "basic_string");
    Expect("empty function", [] { std::function<void()>()(); }, "bad_function_call");
    std::printf("%d of 5 checks failed\n", failures);
    return failures;
}
