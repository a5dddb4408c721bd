#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace quimo {

// 24-bit RGB pixels, rows from top to bottom, 3 * width bytes per row, no padding.
struct RgbImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// An error reported by libjpeg; the message reads "JPEG-Fehler #<code>".
class JpegError : public std::runtime_error
{
public:
    explicit JpegError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// Baseline JFIF at quality 90 with the floating-point DCT and libjpeg's defaults otherwise.
// An image of width or height 0 gives an empty result. Throws JpegError.
std::vector<std::uint8_t> encodeJpeg(const RgbImage &image);

} // namespace quimo
