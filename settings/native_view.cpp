#include "settings/native_view.h"

#include <cctype>

namespace velmora::settings {

bool IsInFolder(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() <= folder.size()) return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const auto a = static_cast<unsigned char>(path[i]);
        const auto b = static_cast<unsigned char>(folder[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

std::string NativeViewPath(const std::string& path, const std::string& sysnativeFolder,
                           const std::string& systemFolder) {
    if (!IsInFolder(path, sysnativeFolder)) return path;
    return systemFolder + path.substr(sysnativeFolder.size());
}

}  // namespace velmora::settings
