#include "runner/process_rules.h"

namespace velmora::process {

std::string CommandLineFor(const std::string& program, const std::string& arguments) {
    if (program.find(' ') == std::string::npos) return program + arguments;
    return "\"" + program + "\"" + arguments;
}

std::string WorkingFolderOf(const std::string& path, LeadBytePredicate isLeadByte) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte && isLeadByte(c) && i + 1 < path.size()) {
            ++i;  // the trail byte may equal '\\'
            continue;
        }
        if (c == '\\') last = i;
    }
    if (last == std::string::npos) return std::string();
    size_t length = last;
    if (length == 2 && path[1] == ':') ++length;
    return path.substr(0, length);
}

}  // namespace velmora::process
