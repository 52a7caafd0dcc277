#include "detect/detection_observer.h"

namespace detect {

DetectionObserver& NoObserver() {
    static DetectionObserver none;
    return none;
}

}  // namespace detect
