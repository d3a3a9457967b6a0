#pragma once

#include "platform/character_maps.h"
#include "platform/text_services.h"

namespace testsupport {

// The real text services (ICU, OpenCC), loaded once per test program.
inline const platform::TextServices &realText() {
    static const platform::TextServices text = platform::loadTextServices(platform::openccDataDir());
    return text;
}

} // namespace testsupport
