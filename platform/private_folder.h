#pragma once

// Folders that only their user may enter (the instance's socket, the cache of prepared images),
// made and checked so that another user can neither plant a link there nor write in it. Plain
// POSIX.

#include "core/messages.h"

#include <string>

namespace platform {

// Makes sure that `folder` is private to user `uid`: a real folder (checked with lstat, never
// followed through a link), owned by `uid`, that nobody else may enter. A missing one is made with
// mode 0700; one of `uid`'s own with a wider mode is narrowed to 0700. Returns the empty message
// when the folder is fit, else why not ("is a symbolic link", "belongs to uid 1001"...).
core::Message makePrivateFolder(const std::string &folder, unsigned uid);

// Whether `parent` lets other users rename or remove what it holds: a folder that everyone may
// write, without the sticky bit. Empty when not (or when it cannot be told), else why.
core::Message openToRenames(const std::string &parent);

} // namespace platform
