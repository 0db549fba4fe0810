#pragma once

#include <tiffio.h>

namespace pictarium {

// ImageMagick's TIFF coder (loaded for TIFF, but also for CALS and for
// pictures nested in other formats) installs process-wide libtiff error
// handlers that report into a per-thread exception it leaves dangling once
// its reader returns. Qt's TIFF reader shares libtiff, so its next error
// would write through that pointer. Wrap every Magick++ call in a guard:
// it puts the handlers back as they were when the guard was made.
class LibtiffHandlerGuard {
public:
    LibtiffHandlerGuard();
    ~LibtiffHandlerGuard();
    LibtiffHandlerGuard(const LibtiffHandlerGuard&) = delete;
    LibtiffHandlerGuard& operator=(const LibtiffHandlerGuard&) = delete;

private:
    TIFFErrorHandler mError;
    TIFFErrorHandler mWarning;
    TIFFErrorHandlerExt mErrorExt;
    TIFFErrorHandlerExt mWarningExt;
};

}  // namespace pictarium
