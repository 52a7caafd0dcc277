#include "detect/detection_observer.h"

namespace detect {

namespace {
class SilentObserver final : public DetectionObserver {};
SilentObserver silent;
}  // namespace

DetectionObserver& NoObserver() {
    return silent;
}

}  // namespace detect
