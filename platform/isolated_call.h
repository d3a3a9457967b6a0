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

struct IsolationLimits {
    std::chrono::milliseconds time{20000};          // before the child is killed
    std::size_t extraMemory = std::size_t(2) << 30; // address space the child may add to what it inherits
    std::size_t maxResult = std::size_t(1) << 30;   // bytes the child may hand back
};

// Runs `work` in a child process (fork, no exec) and returns the bytes it produced; nullopt with
// `why` set (crashed (signal 11), ran out of time, failed, ...) when the child died, ran past
// a limit, or `work` returned nullopt. `work` must only compute: the child ends with _exit, runs
// no destructor of the parent's objects and touches none of its files.
std::optional<std::string> runIsolated(const std::function<std::optional<std::string>()> &work,
                                       core::Message &why, const IsolationLimits &limits = {});

} // namespace platform
