#include "gbk.h"

#include <errno.h>
#include <iconv.h>

#include <cstdio>
#include <vector>

namespace pack {

namespace {

class Converter {
public:
    Converter() : cd_(iconv_open("CP936", "UTF-8")) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input or reports how many input bytes went through before it stopped.
    bool Convert(std::string_view in, std::string& out, std::size_t& consumed) {
        // Each UTF-8 character of one to four bytes becomes at most two GBK bytes.
        std::vector<char> buffer(in.size() + 4);
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char* dst = buffer.data();
        std::size_t dst_left = buffer.size();
        std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
        consumed = in.size() - src_left;
        if (rc == static_cast<std::size_t>(-1)) return false;
        // iconv counts irreversible conversions; this pair should have none, but treat any as loss.
        if (rc != 0) return false;
        out.assign(buffer.data(), dst);
        return true;
    }

private:
    iconv_t cd_;
};

std::size_t CountUtf8Chars(std::string_view bytes) {
    std::size_t count = 0;
    for (char c : bytes)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    Converter converter;
    if (!converter.valid()) return std::nullopt;
    std::string out;
    std::size_t consumed = 0;
    if (!converter.Convert(utf8, out, consumed)) return std::nullopt;
    return out;
}

std::size_t FirstUnconvertible(std::string_view utf8) {
    Converter converter;
    if (!converter.valid()) return 1;
    std::string out;
    std::size_t consumed = 0;
    if (converter.Convert(utf8, out, consumed)) return 0;
    return CountUtf8Chars(utf8.substr(0, consumed)) + 1;
}

std::string DescribeUnconvertible(std::string_view utf8) {
    const std::size_t position = FirstUnconvertible(utf8);
    std::size_t at = 0;
    for (std::size_t chars = 1; at < utf8.size(); ++at)
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && chars++ == position) break;
    const std::string prefix = "character " + std::to_string(position);
    const unsigned char lead = at < utf8.size() ? static_cast<unsigned char>(utf8[at]) : 0;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4 && at + length <= utf8.size());
    for (std::size_t i = 1; valid && i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(utf8[at + i]);
        valid = (next & 0xC0) == 0x80;
        code = code << 6 | (next & 0x3F);
    }
    if (!valid) return prefix + " is not valid UTF-8";
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return prefix + " (\"" + std::string(utf8.substr(at, length)) + "\", " + hex +
           ") has no GBK (code page 936) form";
}

std::optional<std::string> CheckTableLine(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c < 32 && c != '\t') || c == 127)
            return "control character " + std::to_string(c) + " in the text";
    }
    std::optional<std::string> gbk = Utf8ToGbk(utf8);
    if (!gbk) return DescribeUnconvertible(utf8);
    if (gbk->size() > kMaxTableLineBytes)
        return std::to_string(gbk->size()) + " bytes in GBK; the installer reads at most " +
               std::to_string(kMaxTableLineBytes) + " and would cut it";
    return std::nullopt;
}

}  // namespace pack
