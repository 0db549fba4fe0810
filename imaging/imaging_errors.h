#pragma once

#include "base/run_errors.h"

namespace pictarium::ImagingError {

// The classic failure numbers the imaging component raises, beside the
// file failures of RunError.
inline constexpr int InvalidProcedureCall = RunError::InvalidProcedureCall;
inline constexpr int InvalidPropertyValue = RunError::InvalidPropertyValue;
inline constexpr int InvalidPicture = RunError::InvalidPicture;

}  // namespace pictarium::ImagingError
