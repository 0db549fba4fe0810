#include "imaging/libtiff_picture_decoder_p.h"

#include "imaging/core/bitmap_codec.h"
#include "imaging/core/display_colours.h"
#include "imaging/picture_orientation_p.h"

#include <tiffio.h>

#include <QtGlobal>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>

namespace pictarium {

namespace {

// The bytes, read through libtiff's client interface.
struct MemoryFile {
    const char* data = nullptr;
    toff_t size = 0;
    toff_t at = 0;
};

MemoryFile& fileOf(thandle_t handle) {
    return *static_cast<MemoryFile*>(handle);
}

tmsize_t readBytes(thandle_t handle, void* buffer, tmsize_t wanted) {
    MemoryFile& file = fileOf(handle);
    const toff_t left = file.at < file.size ? file.size - file.at : 0;
    const toff_t count = std::min(static_cast<toff_t>(std::max<tmsize_t>(wanted, 0)), left);
    std::memcpy(buffer, file.data + file.at, static_cast<std::size_t>(count));
    file.at += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t writeNothing(thandle_t /*handle*/, void* /*buffer*/, tmsize_t /*size*/) {
    return 0;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
    MemoryFile& file = fileOf(handle);
    if (whence == SEEK_CUR) {
        file.at += offset;
    } else if (whence == SEEK_END) {
        file.at = file.size + offset;
    } else {
        file.at = offset;
    }
    return file.at;
}

int closeNothing(thandle_t /*handle*/) {
    return 0;
}

toff_t sizeOf(thandle_t handle) {
    return fileOf(handle).size;
}

// Mapped, so that libtiff reads strips in place rather than copying them.
int mapFile(thandle_t handle, void** base, toff_t* size) {
    MemoryFile& file = fileOf(handle);
    *base = const_cast<char*>(file.data);
    *size = file.size;
    return 1;
}

void unmapNothing(thandle_t /*handle*/, void* /*base*/, toff_t /*size*/) {}

// A broken file is refused without a word on standard error.
int keepQuiet(TIFF* /*tiff*/, void* /*data*/, const char* /*module*/, const char* /*format*/,
              va_list /*arguments*/) {
    return 1;
}

struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

struct TiffClose {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

bool hasAlpha(TIFF* tiff) {
    std::uint16_t count = 0;
    std::uint16_t* kinds = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) != 1 || kinds == nullptr) {
        return false;
    }
    return std::any_of(kinds, kinds + count, [](std::uint16_t kind) {
        return kind == EXTRASAMPLE_ASSOCALPHA || kind == EXTRASAMPLE_UNASSALPHA;
    });
}

// The file's ICC profile. A CMYK one would not fit the RGB that the RGBA
// interface makes of the inks, and Qt does not take it.
QColorSpace embeddedColourSpace(TIFF* tiff) {
    std::uint32_t size = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &profile) != 1 || profile == nullptr) {
        return {};
    }
    return colourSpaceOfProfile(
        QByteArrayView(static_cast<const char*>(profile), static_cast<qsizetype>(size)));
}

}  // namespace

QImage decodeTiffWithLibtiff(QByteArrayView bytes) {
    // libtiff packs each pixel as 0xAABBGGRR, the memory order of RGBA8888
    // on a little-endian machine.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    MemoryFile file{bytes.data(), static_cast<toff_t>(bytes.size())};
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) {
        return {};
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keepQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), keepQuiet, nullptr);
    const std::unique_ptr<TIFF, TiffClose> tiff(
        TIFFClientOpenExt("picture", "r", &file, readBytes, writeNothing, seekTo, closeNothing,
                          sizeOf, mapFile, unmapNothing, options.get()));
    if (!tiff) {
        return {};
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1 || width == 0 || height == 0) {
        return {};
    }
    requireWithinPixelLimit(width, height);
    // Its L*a*b* conversion drifts by a few levels from sRGB: ImageMagick's
    // is exact.
    std::uint16_t photometric = 0;
    if (TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric) == 1 &&
        (photometric == PHOTOMETRIC_CIELAB || photometric == PHOTOMETRIC_ICCLAB ||
         photometric == PHOTOMETRIC_ITULAB)) {
        return {};
    }
    char message[1024] = {};
    if (TIFFRGBAImageOK(tiff.get(), message) != 1) {
        return {};
    }
    QImage picture(static_cast<int>(width), static_cast<int>(height),
                   QImage::Format_RGBA8888_Premultiplied);
    if (picture.isNull()) {
        return {};
    }
    // Asked for the file's own orientation, libtiff's reader leaves the rows
    // as stored: it would only flip them, never transpose them.
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
    auto* raster = reinterpret_cast<std::uint32_t*>(picture.bits());
    if (TIFFReadRGBAImageOriented(tiff.get(), width, height, raster, orientation, 1) != 1) {
        return {};
    }
    picture = uprightPicture(picture, orientation);
    if (!hasAlpha(tiff.get())) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    picture.setColorSpace(embeddedColourSpace(tiff.get()));
    return picture;
}

}  // namespace pictarium
