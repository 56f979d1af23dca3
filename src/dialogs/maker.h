#pragma once
// Where the maker can be reached; the about box shows and opens exactly these.

namespace dalvo {

inline constexpr const char* kMakerMail = "dalvo@example.org";
inline constexpr const char* kMakerWeb = "https://example.org/dalvo/";

}  // namespace dalvo
