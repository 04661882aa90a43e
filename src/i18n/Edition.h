#pragma once

namespace tavlix {

// The two editions built from the same code. The Simplified Chinese edition always
// shows Simplified Chinese; the Standard edition starts in the language stored for the
// user and switches among the three.
enum class Edition { SimplifiedChinese, Standard };

// The edition this program was built as (the TAVLIX_EDITION build option).
constexpr Edition kBuildEdition =
#if defined(TAVLIX_STANDARD_EDITION)
    Edition::Standard;
#else
    Edition::SimplifiedChinese;
#endif

}  // namespace tavlix
