#include "wizard/application_title.h"

namespace wizard {

std::string ApplicationTitle(const std::string& modulePath) {
    const std::string::size_type slash = modulePath.find_last_of("\\/:");
    std::string title = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const std::string::size_type dot = title.rfind('.');
    if (dot != std::string::npos) {
        title.erase(dot);
    }
    return title;
}

}  // namespace wizard
