#include "platform/private_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

core::Message makePrivateFolder(const std::string &folder, unsigned uid) {
    using core::MessageId;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return core::systemError(errno);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return core::Message(MessageId::FolderCannotBeMade, {}, {core::systemError(errno)});
        if (::lstat(folder.c_str(), &st) != 0)
            return core::systemError(errno);
    }
    if (S_ISLNK(st.st_mode))
        return MessageId::FolderIsLink;
    if (!S_ISDIR(st.st_mode))
        return MessageId::FolderNotFolder;
    if (st.st_uid != uid)
        return core::Message(MessageId::FolderOtherOwner, {std::to_string(st.st_uid)});
    if ((st.st_mode & 077) != 0) {
        // Ours, only too open: narrowed through a descriptor of the folder checked above, so that
        // a swap after the lstat cannot redirect the chmod.
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat again {};
        const bool same = fd >= 0 && ::fstat(fd, &again) == 0 && again.st_ino == st.st_ino &&
                          again.st_dev == st.st_dev && ::fchmod(fd, 0700) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!same)
            return MessageId::FolderNotPrivate;
    }
    return {};
}

core::Message openToRenames(const std::string &parent) {
    struct stat st {};
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    if ((st.st_mode & S_IWOTH) && !(st.st_mode & S_ISVTX))
        return core::Message(core::MessageId::FolderOpenToRenames, {parent});
    return {};
}

} // namespace platform
