#pragma once

namespace pictarium::ImagingError {

// The classic failure numbers the imaging component raises, beside the
// file failures of RunError.
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;

}  // namespace pictarium::ImagingError
