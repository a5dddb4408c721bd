#include "core/jpeg_writer.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace quimo {

namespace {

constexpr int Quality = 90;
constexpr std::size_t OutputChunk = 64 * 1024;

// libjpeg reports a fatal error by calling error_exit, which must not return; we jump back to
// the compressing function and turn the message code into a JpegError there.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void exitByJump(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

// Warnings would go to stderr, where the user never sees them; the picture is written anyway.
void discardMessage(j_common_ptr) {}

// Collects the encoded bytes in a vector. libjpeg's own memory destination loses track of its
// buffer when an error strikes after it has grown, so it can be neither freed nor trusted then.
struct VectorDestination
{
    jpeg_destination_mgr pub;
    std::vector<std::uint8_t> *bytes;
};

VectorDestination *destinationOf(j_compress_ptr cinfo)
{
    return reinterpret_cast<VectorDestination *>(cinfo->dest);
}

void growOrFail(j_compress_ptr cinfo, std::size_t used)
{
    VectorDestination *dest = destinationOf(cinfo);
    bool grown = true;
    try {
        dest->bytes->resize(used + OutputChunk);
    } catch (const std::bad_alloc &) {
        grown = false;
    }
    if (!grown) {
        // Outside the catch block, so that the jump does not leave a handler behind.
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
    dest->pub.next_output_byte = dest->bytes->data() + used;
    dest->pub.free_in_buffer = OutputChunk;
}

void initDestination(j_compress_ptr cinfo)
{
    growOrFail(cinfo, 0);
}

boolean emptyOutputBuffer(j_compress_ptr cinfo)
{
    // libjpeg calls this only with a full buffer, whatever free_in_buffer says.
    growOrFail(cinfo, destinationOf(cinfo)->bytes->size());
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    VectorDestination *dest = destinationOf(cinfo);
    dest->bytes->resize(dest->bytes->size() - dest->pub.free_in_buffer);
}

// Runs the whole compression. libjpeg may leave this function by longjmp at any call, so it
// holds no object that needs a destructor. On failure errors.pub.msg_code tells why.
bool compress(jpeg_compress_struct &cinfo, ErrorManager &errors, VectorDestination &destination,
              const RgbImage &image)
{
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = exitByJump;
    errors.pub.output_message = discardMessage;
    if (setjmp(errors.jump) != 0) {
        return false;
    }

    jpeg_create_compress(&cinfo);
    destination.pub.init_destination = initDestination;
    destination.pub.empty_output_buffer = emptyOutputBuffer;
    destination.pub.term_destination = termDestination;
    cinfo.dest = &destination.pub;

    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&cinfo, Quality, TRUE);
    // The defaults already say so; stated here because these fields are what the file shows.
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 0;
    cinfo.X_density = 1;
    cinfo.Y_density = 1;
    cinfo.optimize_coding = FALSE;
    cinfo.arith_code = FALSE;
    cinfo.restart_interval = 0;
    cinfo.restart_in_rows = 0;
    cinfo.smoothing_factor = 0;
    cinfo.scan_info = nullptr;
    cinfo.num_scans = 0;

    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg only reads the rows; its interface merely lacks the const.
        JSAMPROW row = const_cast<JSAMPLE *>(image.pixels.data()) + cinfo.next_scanline * rowBytes;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

JpegError::JpegError(int code)
    : std::runtime_error("JPEG-Fehler #" + std::to_string(code))
    , code_(code)
{
}

std::vector<std::uint8_t> encodeJpeg(const RgbImage &image)
{
    if (image.width < 0 || image.height < 0) {
        throw std::invalid_argument("encodeJpeg: negative picture size");
    }
    // Both sizes are ints, so the product of the two and 3 fits in 64 bits.
    const unsigned long long expected = static_cast<unsigned long long>(image.width) *
                                        static_cast<unsigned long long>(image.height) * 3U;
    if (expected != image.pixels.size()) {
        throw std::invalid_argument("encodeJpeg: pixel buffer does not match the picture size");
    }
    if (image.width == 0 || image.height == 0) {
        return {};
    }

    std::vector<std::uint8_t> bytes;
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    VectorDestination destination{};
    destination.bytes = &bytes;

    const bool done = compress(cinfo, errors, destination, image);
    jpeg_destroy_compress(&cinfo);
    if (!done) {
        throw JpegError(errors.pub.msg_code);
    }
    return bytes;
}

} // namespace quimo
