#include "imaging/libtiff_handler_guard_p.h"

namespace pictarium {

// libtiff only reads a handler back by replacing it, so each is replaced
// and set again at once.
LibtiffHandlerGuard::LibtiffHandlerGuard()
    : mError(TIFFSetErrorHandler(nullptr)),
      mWarning(TIFFSetWarningHandler(nullptr)),
      mErrorExt(TIFFSetErrorHandlerExt(nullptr)),
      mWarningExt(TIFFSetWarningHandlerExt(nullptr)) {
    TIFFSetErrorHandler(mError);
    TIFFSetWarningHandler(mWarning);
    TIFFSetErrorHandlerExt(mErrorExt);
    TIFFSetWarningHandlerExt(mWarningExt);
}

LibtiffHandlerGuard::~LibtiffHandlerGuard() {
    TIFFSetErrorHandler(mError);
    TIFFSetWarningHandler(mWarning);
    TIFFSetErrorHandlerExt(mErrorExt);
    TIFFSetWarningHandlerExt(mWarningExt);
}

}  // namespace pictarium
