#include "imaging/heif_picture_decoder_p.h"

#include "imaging/core/display_colours.h"
#include "imaging/core/pixel_limit.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace pictarium {

namespace {

struct HeifFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
    void operator()(heif_image* image) const { heif_image_release(image); }
};

template <typename T>
using HeifPointer = std::unique_ptr<T, HeifFree>;

bool failed(const heif_error& error) {
    return error.code != heif_error_Ok;
}

QByteArray rawProfile(const heif_image_handle* handle) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) {
        return {};
    }
    QByteArray profile(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), '\0');
    if (failed(heif_image_handle_get_raw_color_profile(handle, profile.data()))) {
        return {};
    }
    return profile;
}

QImage toQImage(const heif_image* image, bool alpha) {
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* rows =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (rows == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    QImage picture(width, height, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (picture.isNull()) {
        return {};
    }
    const std::size_t rowBytes = std::size_t(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture.scanLine(y), rows + std::ptrdiff_t(y) * stride, rowBytes);
    }
    return picture;
}

}  // namespace

QImage decodeHeif(QByteArrayView bytes) {
    const HeifPointer<heif_context> context(heif_context_alloc());
    if (!context || failed(heif_context_read_from_memory_without_copy(
                        context.get(), bytes.data(), std::size_t(bytes.size()), nullptr))) {
        return {};
    }
    heif_image_handle* primary = nullptr;
    if (failed(heif_context_get_primary_image_handle(context.get(), &primary))) {
        return {};
    }
    const HeifPointer<heif_image_handle> handle(primary);
    requireWithinPixelLimit(heif_image_handle_get_width(handle.get()),
                            heif_image_handle_get_height(handle.get()));
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    heif_image* decoded = nullptr;
    if (failed(heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB,
                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                 nullptr))) {
        return {};
    }
    const HeifPointer<heif_image> image(decoded);
    QImage picture = toQImage(image.get(), alpha);
    picture.setColorSpace(colourSpaceOfProfile(rawProfile(handle.get())));
    return picture;
}

}  // namespace pictarium
