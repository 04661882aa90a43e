#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <string>

namespace tavlix {

namespace {

namespace fs = std::filesystem;

std::error_code LastError() { return {errno, std::generic_category()}; }

// The temporary file of one write: removed again unless it was renamed over the target.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }

    // A new file in the folder with the given permissions. The name is short, so a target
    // whose own name is near the length limit still gets one.
    std::error_code Create(const fs::path& folder, std::optional<mode_t> keepMode)
    {
        static std::atomic<unsigned> counter {0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = folder / (".tavlix-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(counter++) + ".tmp");
            m_fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_path = std::move(candidate);
                if (keepMode && ::fchmod(m_fd, *keepMode) != 0)
                    return LastError();
                return {};
            }
            if (errno != EEXIST)
                return LastError();
        }
        return std::make_error_code(std::errc::file_exists);
    }

    std::error_code Write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return written < 0 ? LastError() : std::make_error_code(std::errc::io_error);
            bytes.remove_prefix(std::size_t(written));
        }
        return {};
    }

    // Flushes, closes and renames over the target; only then is the file kept.
    std::error_code Commit(const fs::path& target)
    {
        if (::fsync(m_fd) != 0)
            return LastError();
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return LastError();
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            return LastError();
        m_path.clear();
        return {};
    }

private:
    int m_fd = -1;
    fs::path m_path;
};

// The rename is only durable once the folder itself is flushed; failing that is no
// reason to report the write as failed, the data is already in place.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::error_code WriteFileAtomically(const fs::path& target, std::string_view bytes)
{
    if (target.empty() || !target.has_filename())
        return std::make_error_code(std::errc::invalid_argument);

    std::error_code ec;
    fs::path file = target;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            file = resolved;
    }
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    fs::create_directories(folder, ec);
    if (ec)
        return ec;

    std::optional<mode_t> keepMode;
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return std::make_error_code(std::errc::is_a_directory);
        // A device or a pipe would be replaced by a plain file, not written to.
        if (!S_ISREG(info.st_mode))
            return std::make_error_code(std::errc::operation_not_supported);
        if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0)
            return LastError();
        keepMode = info.st_mode & 07777;
    }

    TemporaryFile temporary;
    if ((ec = temporary.Create(folder, keepMode)) || (ec = temporary.Write(bytes)) ||
        (ec = temporary.Commit(file)))
        return ec;
    SyncFolder(folder);
    return {};
}

}  // namespace tavlix
