#include "gbk.h"

#include <errno.h>
#include <iconv.h>

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

std::optional<std::string> CheckTableLine(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c < 32 && c != '\t') || c == 127)
            return "control character " + std::to_string(c) + " in the text";
    }
    std::optional<std::string> gbk = Utf8ToGbk(utf8);
    if (!gbk)
        return "character " + std::to_string(FirstUnconvertible(utf8)) +
               " is not valid UTF-8 or has no GBK (code page 936) form";
    if (gbk->size() > kMaxTableLineBytes)
        return std::to_string(gbk->size()) + " bytes in GBK; the installer reads at most " +
               std::to_string(kMaxTableLineBytes) + " and would cut it";
    return std::nullopt;
}

}  // namespace pack
