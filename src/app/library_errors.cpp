// The runtime library's helpers that throw its standard exceptions: length_error from a string or
// a vector grown past its limit, out_of_range from at() or substr(), system_error from a thread or
// a lock. The library's own ones construct std::logic_error and its kin, which keep their text in
// the old reference-counted string; that string's code, and std::random_device with it, came
// into the program through them: some 80 KB of the installer's 470. These throw the same kinds of
// failure as a plain std::exception with the library's text. Every catch point of the program
// catches std::exception (or RuntimeError, which the program throws itself); none of them tells
// the standard exceptions apart, so what a user or a log sees is unchanged.
//
// Linked as an object into the installer programs and the check of them (tests/windows), so the
// linker never takes the library's own copies. A program that needs the library's system_error
// for more than its throw (a test framework does) would take them and clash.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <typeinfo>
#include <utility>

#include "platform/text.h"

namespace {

class LibraryError final : public std::exception {
public:
    explicit LibraryError(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

// The library's formats hold %s, %zu and %% only.
std::string Format(const char* format, va_list values) {
    std::string text;
    for (const char* at = format; *at; ++at) {
        if (at[0] == '%' && at[1] == 's') {
            text.append(va_arg(values, const char*));
            ++at;
        } else if (at[0] == '%' && at[1] == 'z' && at[2] == 'u') {
            text.append(setup::text::Digits(va_arg(values, std::size_t)));
            at += 2;
        } else if (at[0] == '%' && at[1] == '%') {
            text.push_back('%');
            ++at;
        } else {
            text.push_back(*at);
        }
    }
    return text;
}

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_domain_error(const char* text) { throw LibraryError(text); }
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
void __throw_out_of_range_fmt(const char* format, ...) {
    va_list values;
    va_start(values, format);
    std::string text = Format(format, values);
    va_end(values);
    throw LibraryError(std::move(text));
}
void __throw_runtime_error(const char* text) { throw LibraryError(text); }
void __throw_range_error(const char* text) { throw LibraryError(text); }
void __throw_overflow_error(const char* text) { throw LibraryError(text); }
void __throw_underflow_error(const char* text) { throw LibraryError(text); }
void __throw_system_error(int) { throw LibraryError("A thread or a lock could not be made"); }

}  // namespace std
