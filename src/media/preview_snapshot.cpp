#include "media/preview_snapshot.h"

#include "platform/user_folders.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <vector>

namespace quilo {

void SnapshotSize(const TVideoInfo& clip, int& width, int& height) {
    width = clip.Width;
    height = clip.Height;
    if (!clip.UseAspectCode)
        return;
    double ratio = 0;
    switch (clip.AspectCode) {
    case Aspect::Ratio4x3:
        ratio = 4.0 / 3.0;
        break;
    case Aspect::Ratio16x9:
        ratio = 16.0 / 9.0;
        break;
    case Aspect::Ratio1x1:
        ratio = 1.0;
        break;
    case Aspect::Ratio221x1:
        ratio = 2.21;
        break;
    default:
        ratio = clip.Height > 0 ? static_cast<double>(clip.Width) / clip.Height : 0;
        break;
    }
    // No usable ratio leaves the picture's own height.
    if (ratio > 0)
        height = static_cast<int>(width / ratio);
    if (height % 2 != 0)
        height -= 1;
}

std::string SnapshotFileName(const std::string& chosen, SnapshotFilter filter) {
    const std::string wanted = filter == SnapshotFilter::Bmp ? ".BMP" : ".JPG";
    std::string extension = std::filesystem::path(chosen).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension == wanted)
        return chosen;
    return chosen + (filter == SnapshotFilter::Bmp ? ".bmp" : ".jpg");
}

std::string SnapshotStartFolder() {
    const std::string pictures = picturesFolder();
    if (!pictures.empty() && std::filesystem::is_directory(pictures))
        return pictures;
    return documentsFolder();
}

namespace {
// libjpeg's own error handler ends the process; a full disk must not.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf escape{};
};
[[noreturn]] void escapeJpegError(j_common_ptr common) {
    std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->escape, 1);
}
} // namespace

bool WriteJpeg(const std::string& path, const unsigned char* rgb, int width, int height, int quality) {
    if (!rgb || width <= 0 || height <= 0)
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct compressor{};
    JpegErrors errors;
    compressor.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = escapeJpegError;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&compressor);
        std::fclose(file);
        return false;
    }
    jpeg_create_compress(&compressor);
    jpeg_stdio_dest(&compressor, file);
    compressor.image_width = static_cast<JDIMENSION>(width);
    compressor.image_height = static_cast<JDIMENSION>(height);
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    const auto stride = static_cast<std::size_t>(width) * 3;
    while (compressor.next_scanline < compressor.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb + compressor.next_scanline * stride);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    const bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

namespace {
void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}
} // namespace

bool WriteBmp(const std::string& path, const unsigned char* rgb, int width, int height) {
    if (!rgb || width <= 0 || height <= 0)
        return false;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height)); // positive: rows bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const unsigned char* row = rgb + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        out.resize(out.size() + (rowBytes - static_cast<std::uint32_t>(width) * 3), 0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace quilo
