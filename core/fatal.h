// The fatal-error channel. Programming errors and exhausted memory are not reported to callers:
// they show one "FATAL ERROR" box and end the process with exit code 1. None of these return.
// The engine implements FatalError with a message box (ui/messages.cpp); native builds of the
// portable layers write the text to standard error instead (core/fatal_stderr.cpp).
#pragma once

[[noreturn]] void FatalError(const char* text);
[[noreturn]] void FatalErrorFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// "Internal Fatal Error\r\nModule: %s\r\nLine: %d". The line identifies the failing check.
[[noreturn]] void InternalFatal(const char* module, int line);

// Module names and check numbers of the core library's internal errors.
inline constexpr const char* kCoreModule = "Core.cpp";       // string and helper functions
inline constexpr const char* kContainerModule = "core.h";    // container templates
inline constexpr int kCharPtrAtCheck = 840;
inline constexpr int kRatioDenominatorCheck = 12313;
inline constexpr int kPureVirtualCallCheck = 5656;  // a call through an abstract class's slot
inline constexpr int kTableUnsupportedFirstCheck = 5657;     // 5657..5664, one per operation
