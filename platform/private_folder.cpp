#include "platform/private_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string makePrivateFolder(const std::string &folder, unsigned uid) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return std::strerror(errno);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return std::string("cannot be made: ") + std::strerror(errno);
        if (::lstat(folder.c_str(), &st) != 0)
            return std::strerror(errno);
    }
    if (S_ISLNK(st.st_mode))
        return "is a symbolic link";
    if (!S_ISDIR(st.st_mode))
        return "is not a folder";
    if (st.st_uid != uid)
        return "belongs to uid " + std::to_string(st.st_uid);
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
            return "is open to other users and cannot be made private";
    }
    return {};
}

std::string openToRenames(const std::string &parent) {
    struct stat st {};
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    if ((st.st_mode & S_IWOTH) && !(st.st_mode & S_ISVTX))
        return parent + " lets every user rename what it holds (writable by all, without the sticky bit)";
    return {};
}

} // namespace platform
