#include "gui/bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace setup::gui {

namespace {

// Larger images are refused before anything is allocated.
constexpr int kMaxSide = 32767;
constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;
constexpr std::uint64_t kMaxFileSize = 512ull * 1024 * 1024;

RuntimeError InvalidBitmap() {
    return RuntimeError(ErrorKind::DataDamaged, "Bitmap image is not valid");
}

std::uint32_t Read32(std::span<const std::uint8_t> d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t Read16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
    SetSize(width, height);
}

Bitmap::Bitmap(Bitmap&& other) noexcept {
    Swap(other);
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    Bitmap moved(std::move(other));
    Swap(moved);
    return *this;
}

Bitmap::~Bitmap() {
    if (dc_ && original_) SelectObject(dc_.get(), original_);
}

void Bitmap::Swap(Bitmap& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bitmap_, other.bitmap_);
    std::swap(dc_, other.dc_);
    std::swap(original_, other.original_);
    std::swap(bits_, other.bits_);
    std::swap(stride_, other.stride_);
}

void Bitmap::SetSize(int width, int height) {
    Bitmap fresh;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width > 0 && height > 0) {
        if (width > kMaxSide || height > kMaxSide ||
            static_cast<std::int64_t>(width) * height > kMaxPixels)
            throw OutOfMemory();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows: pixel (x, y) is easy to find
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        fresh.bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        fresh.dc_.reset(CreateCompatibleDC(nullptr));
        if (!fresh.bitmap_ || !fresh.dc_ || !bits) throw OutOfMemory();
        fresh.original_ = SelectObject(fresh.dc_.get(), fresh.bitmap_.get());
        fresh.bits_ = static_cast<std::uint8_t*>(bits);
        fresh.stride_ = (width * 3 + 3) & ~3;
        std::memset(bits, 0, static_cast<std::size_t>(fresh.stride_) * height);
    }
    fresh.width_ = width;
    fresh.height_ = height;
    Swap(fresh);
}

Bitmap Bitmap::Clone() const {
    Bitmap copy(width_, height_);
    copy.CopyFrom(*this, 0, 0, width_, height_, 0, 0);
    return copy;
}

COLORREF Bitmap::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const std::uint8_t* p = bits_ + static_cast<std::size_t>(y) * stride_ + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, COLORREF color) {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    std::uint8_t* p = bits_ + static_cast<std::size_t>(y) * stride_ + x * 3;
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

void Bitmap::CopyFrom(const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
    if (Empty() || src.Empty() || w <= 0 || h <= 0) return;
    BitBlt(Dc(), dx, dy, w, h, src.Dc(), sx, sy, SRCCOPY);
}

void Bitmap::StretchFrom(const Bitmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                         int dh) {
    if (Empty() || src.Empty() || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    int old_mode = SetStretchBltMode(Dc(), COLORONCOLOR);
    StretchBlt(Dc(), dx, dy, dw, dh, src.Dc(), sx, sy, sw, sh, SRCCOPY);
    SetStretchBltMode(Dc(), old_mode);
}

Bitmap ReadBmp(std::span<const std::uint8_t> data) {
    constexpr std::size_t kFileHeader = 14;
    if (data.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M')
        throw InvalidBitmap();
    const std::uint32_t bits_offset = Read32(data, 10);
    const std::uint32_t header_size = Read32(data, 14);
    if (header_size < sizeof(BITMAPINFOHEADER) || header_size > data.size() - kFileHeader)
        throw InvalidBitmap();
    const std::int32_t width = static_cast<std::int32_t>(Read32(data, 18));
    const std::int32_t raw_height = static_cast<std::int32_t>(Read32(data, 22));
    const std::uint16_t planes = Read16(data, 26);
    const std::uint16_t bpp = Read16(data, 28);
    const std::uint32_t compression = Read32(data, 30);
    const std::uint32_t colors_used = Read32(data, 46);

    if (width <= 0 || width > kMaxSide || raw_height == 0 || raw_height < -kMaxSide ||
        raw_height > kMaxSide || planes != 1)
        throw InvalidBitmap();
    const int height = raw_height < 0 ? -raw_height : raw_height;
    if (static_cast<std::int64_t>(width) * height > kMaxPixels) throw InvalidBitmap();
    const bool bitfields = compression == BI_BITFIELDS && (bpp == 16 || bpp == 32);
    const bool plain = compression == BI_RGB &&
                       (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32);
    if (!bitfields && !plain) throw InvalidBitmap();

    // Colour table (or the three masks that follow a plain info header) between header and bits.
    std::size_t table = 0;
    if (bpp <= 8) {
        const std::uint32_t max_colors = 1u << bpp;
        if (colors_used > max_colors) throw InvalidBitmap();
        table = 4 * static_cast<std::size_t>(colors_used ? colors_used : max_colors);
    } else if (bitfields && header_size == sizeof(BITMAPINFOHEADER)) {
        table = 12;
    }
    const std::size_t info_size = header_size + table;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (kFileHeader + info_size > data.size() || bits_offset < kFileHeader + info_size ||
        bits_offset > data.size() || stride * height > data.size() - bits_offset)
        throw InvalidBitmap();

    // The info block is copied so the API reads an aligned, complete BITMAPINFO.
    std::vector<std::uint8_t> info(data.begin() + kFileHeader,
                                   data.begin() + kFileHeader + info_size);
    Bitmap result(width, height);
    if (!SetDIBitsToDevice(result.Dc(), 0, 0, width, height, 0, 0, 0, height,
                           data.data() + bits_offset,
                           reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
        throw InvalidBitmap();
    return result;
}

std::optional<Bitmap> ReadBmpFile(const std::string& path) {
    win32::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > kMaxFileSize)
        throw InvalidBitmap();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        throw StreamReadError();
    return ReadBmp(bytes);
}

}  // namespace setup::gui
