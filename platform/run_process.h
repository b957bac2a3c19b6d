// Starting child processes (batch files, programs to run after an installation) and waiting
// for them while the user interface stays alive.
#pragma once

#include <cstdint>

// Flags of RunProcess.
namespace RunFlags {
inline constexpr uint32_t kWait = 0x001;              // wait for the end; result: the exit code
inline constexpr uint32_t kInheritHandles = 0x002;    // the caller's inheritable handles
inline constexpr uint32_t kIdlePriority = 0x004;
inline constexpr uint32_t kHighPriority = 0x008;      // wins over kIdlePriority
inline constexpr uint32_t kHidden = 0x010;
inline constexpr uint32_t kMaximised = 0x020;         // wins over the other show flags
inline constexpr uint32_t kMinimised = 0x040;         // wins over kHidden
inline constexpr uint32_t kReportFailure = 0x080;     // a failure to start shows an error box
inline constexpr uint32_t kPumpWhileWaiting = 0x100;  // window messages keep flowing meanwhile
}  // namespace RunFlags

// RunProcess results that are not exit codes.
inline constexpr uint32_t kProcessNotStarted = 0x80000000;
inline constexpr uint32_t kProcessStarted = 0x80000001;  // no exit code was waited for or read

// Starts commandLine (no application name; the caller's environment) in directory (null: the
// current one). kProcessNotStarted for a null or empty command or a failure to start; without
// kWait kProcessStarted; with it the child's exit code (kProcessStarted when that cannot be
// read, or when the wait failed and the child may still run). The child is never stopped, whatever happens to the caller while it waits.
uint32_t RunProcess(const char* commandLine, uint32_t flags, const char* directory);

#ifdef QUORVEX_TEST_SEAM
#include <windows.h>
// Test builds only. Wine starts every child at normal priority whatever the creation flags
// say, so tests watch the flags on their way: RunProcess calls this function in place of
// CreateProcessA (null restores it). It should pass the call on to CreateProcessA.
using CreateProcessFunction = BOOL(WINAPI*)(const char* application, char* commandLine,
                                            SECURITY_ATTRIBUTES* processSecurity,
                                            SECURITY_ATTRIBUTES* threadSecurity,
                                            BOOL inheritHandles, DWORD creationFlags,
                                            void* environment, const char* directory,
                                            STARTUPINFOA* startup, PROCESS_INFORMATION* process);
void SetCreateProcessForTesting(CreateProcessFunction function);
#endif
