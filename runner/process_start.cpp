#include "runner/process_start.h"

#include <cstdint>
#include <vector>

#include "runner/process_rules.h"
#include "settings/settings_names.h"
#include "settings/system_folders.h"

namespace velmora::process {

namespace {

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

}  // namespace

void ProcessHandles::WaitForExit() const {
    if (m_process) WaitForSingleObject(m_process.Get(), INFINITE);
}

std::string ShortPathOf(const std::string& path) {
    char buffer[velmora::settings::kPathBuffer];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return path;
    return std::string(buffer, n);
}

StartPlan PlanStart(const std::string& storedPath, const std::string& arguments,
                    bool withProgram) {
    StartPlan plan;
    const std::string path = velmora::settings::ReachablePath(storedPath);
    // A 64-bit screensaver in the real system folder, reached through the
    // Sysnative alias, is started by that path (the alias has no short form,
    // and the real system folder's names are short already); it gets its
    // command line and folder as it sees them itself, in System32.
    plan.program = velmora::settings::IsSysnativePath(path) ? path : ShortPathOf(path);
    const std::string childView = velmora::settings::ChildViewPath(plan.program);
    plan.folder = WorkingFolderOf(childView, IsLeadByte);
    if (withProgram) plan.commandLine = CommandLineFor(childView, arguments);
    return plan;
}

ProcessHandles StartProcess(const StartPlan& plan) {
    // CreateProcessA may write to the command line: it gets a copy it owns.
    std::vector<char> commandLine(plan.commandLine.begin(), plan.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(plan.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr,
                        plan.folder.empty() ? nullptr : plan.folder.c_str(), &si, &pi))
        return ProcessHandles();
    return ProcessHandles(pi);
}

std::string HandleDecimal(HWND window) {
    const auto bits = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    return std::to_string(static_cast<int32_t>(bits));
}

}  // namespace velmora::process
