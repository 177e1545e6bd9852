#include "runner/running_child.h"

#include "runner/run_timings.h"
#include <cstdint>

#include "runner/hand_off_rule.h"
#include "runner/hook_library.h"

#ifndef PROCESS_QUERY_LIMITED_INFORMATION
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#endif

namespace velmora::runner {

namespace {

uint64_t FileTimeValue(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

bool Running(HANDLE process) { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

void Terminate(HANDLE process) {
    if (!Running(process)) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kTerminateWaitMs);
}

}  // namespace

bool RunningChild::Start(const std::string& path, HWND host) {
    Reset();
    m_host = host;
    const std::string arguments =
        host ? " /p " + velmora::process::HandleDecimal(host) : std::string(" /s");
    m_process = velmora::process::StartProcess(velmora::process::PlanStart(path, arguments));
    m_process.CloseThread();
    return static_cast<bool>(m_process);
}

bool RunningChild::TakeUpEnd() {
    if (m_handOff) return false;
    DWORD id = 0;
    m_handOff = FindHandOff(id);
    m_handOffId = m_handOff ? id : 0;
    return static_cast<bool>(m_handOff);
}

void RunningChild::End() {
    Terminate(m_process.Process());
    // A child that ended meanwhile may have handed over: that one goes too.
    if (!m_handOff) TakeUpEnd();
    Terminate(m_handOff.Get());
    Reset();
}

ChildProcessIds RunningChild::Ids() const {
    DWORD handOff = m_handOffId;
    if (!handOff && m_process && Running(m_process.Process())) FindHandOff(handOff);
    return ChildProcessIds{m_process.ProcessId(), handOff};
}

void RunningChild::Reset() {
    m_handOff.Reset();
    m_handOffId = 0;
    m_process = velmora::process::ProcessHandles();
}

CHandle RunningChild::FindHandOff(DWORD& handOffId) const {
    // The child's handle is still open, so its id is not reused meanwhile and
    // the hook library can read its times too.
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(m_process.Process(), &created, &exited, &kernel, &user)) return CHandle();
    velmora::handoff::ChildLife life;
    life.id = m_process.ProcessId();
    life.created = FileTimeValue(created);
    life.ended = Running(m_process.Process()) ? Now() : FileTimeValue(exited);

    DWORD id = 0;
    if (!g_hookLibrary.FindProcessChild || !g_hookLibrary.FindProcessChild(life.id, &id))
        return CHandle();
    const DWORD rights = SYNCHRONIZE | PROCESS_TERMINATE;
    HANDLE process = OpenProcess(rights | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) process = OpenProcess(rights | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    CHandle handOff(process);
    if (!handOff) return CHandle();
    // Only a process created while the child ran is its hand-off: an older
    // one merely inherited a parent id that the child's id once was.
    if (!GetProcessTimes(handOff.Get(), &created, &exited, &kernel, &user) ||
        !velmora::handoff::CreatedWhileRunning(life, FileTimeValue(created)))
        return CHandle();
    handOffId = id;
    return handOff;
}

}  // namespace velmora::runner
