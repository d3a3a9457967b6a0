#pragma once

// Work that may crash, hang or eat memory, done in a short-lived child process so that the
// process holding the user's text never runs it: a foreign library reading an untrusted file
// (OpenCC's tries do not check their offsets) crashes the child, not the window. Plain POSIX.

#include "core/messages.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// What decides that the work costs too much is the processor time the child uses, which a busy
// machine does not change; the wall clock only stops a child that is stuck (blocked, stopped or
// never scheduled), and only after a generous multiple of that time.
struct IsolationLimits {
    std::chrono::milliseconds cpuTime{20000};       // processor time before the child is killed
    std::chrono::milliseconds wallTime{0};          // before a stuck child is killed; 0: 20 x cpuTime
    std::size_t extraMemory = std::size_t(2) << 30; // address space the child may add to what it inherits
    std::size_t maxResult = std::size_t(1) << 30;   // bytes the child may hand back
};

// Runs `work` in a child process (fork, no exec) and returns the bytes it produced; nullopt with
// `why` set when the child died (ReaderCrashed), used up its processor time (ReaderTooCostly),
// was stuck past the wall deadline (ReaderStuck), handed back too much (ReaderTooMuch), could not
// be started (ReaderCannotStart) or `work` failed (ReaderFailed). `work` must only compute: the child ends
// with _exit, runs no destructor of the parent's objects and touches none of its files. The wall-clock time a
// child has before it counts as stuck: wallTime, or 20 x cpuTime.
std::chrono::milliseconds wallDeadline(const IsolationLimits &limits);

std::optional<std::string> runIsolated(const std::function<std::optional<std::string>()> &work,
                                       core::Message &why, const IsolationLimits &limits = {});

} // namespace platform
