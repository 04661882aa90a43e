#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

namespace tavlix::testing {

// While it lives, nothing can be made or removed in the folder, as in another user's
// folder or on a read-only disk: its write bits are cleared, and for root, whom they do
// not stop, the file system's immutable flag is set. Where that flag is missing (tmpfs)
// root still writes: Holds() tells whether the protection took.
class WriteProtectedFolder {
public:
    explicit WriteProtectedFolder(std::filesystem::path folder) : m_folder(std::move(folder))
    {
        std::filesystem::permissions(m_folder, std::filesystem::perms::all, std::filesystem::perm_options::remove);
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        SetImmutable(::geteuid() == 0);
    }
    WriteProtectedFolder(const WriteProtectedFolder&) = delete;
    WriteProtectedFolder& operator=(const WriteProtectedFolder&) = delete;
    ~WriteProtectedFolder()
    {
        SetImmutable(false);
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    }

    bool Holds() const { return ::faccessat(AT_FDCWD, m_folder.c_str(), W_OK, AT_EACCESS) != 0; }

private:
    void SetImmutable(bool on) const
    {
        const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }

    std::filesystem::path m_folder;
};

}  // namespace tavlix::testing
