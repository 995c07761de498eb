#pragma once
// The desktop program's own texts, where the core has none: the jobs' texts
// are in core/jobs/job_texts.h, the run's and the browser bridge's beside
// their code.
namespace restash {

inline constexpr const char* kViewCouldNotOpenNetscape = "Could not open Netscape.\rPlease check your Restash Setup.";
inline constexpr const char* kHelpFileNotFound = "Help file not found";

}  // namespace restash
