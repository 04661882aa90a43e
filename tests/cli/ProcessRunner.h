#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tavlix::testing {

namespace fs = std::filesystem;

// How a started program ended: its exit code (or -1 when a signal ended it or the time
// ran out) and everything it wrote.
struct ProcessResult {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Starts programs as a user does, with a home and XDG folders of their own in a
// temporary folder removed afterwards, so that nothing outside it is read or written.
class ProcessRunner {
public:
    ProcessRunner()
    {
        std::string pattern = (fs::temp_directory_path() / "tavlix-process-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw fs::filesystem_error("no temporary folder", pattern,
                                       std::error_code(errno, std::generic_category()));
        m_home = pattern;
        for (const char* folder : {"config", "config-dirs", "data", "runtime"})
            fs::create_directories(m_home / folder);
        fs::permissions(m_home / "runtime", fs::perms::owner_all);
        for (char** variable = environ; *variable; ++variable) {
            const std::string text = *variable;
            const std::size_t equals = text.find('=');
            if (equals != std::string::npos)
                m_environment[text.substr(0, equals)] = text.substr(equals + 1);
        }
        m_environment["HOME"] = m_home.string();
        m_environment["XDG_CONFIG_HOME"] = (m_home / "config").string();
        m_environment["XDG_CONFIG_DIRS"] = (m_home / "config-dirs").string();
        m_environment["XDG_DATA_HOME"] = (m_home / "data").string();
        m_environment["XDG_RUNTIME_DIR"] = (m_home / "runtime").string();
    }
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;
    ~ProcessRunner()
    {
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }

    const fs::path& Home() const { return m_home; }
    void Unset(const std::string& name) { m_environment.erase(name); }
    void Set(const std::string& name, const std::string& value) { m_environment[name] = value; }

    // Runs program with args (args[0] is what the program sees as its name), input on its
    // standard input; kills it when it has not ended within the limit.
    ProcessResult Run(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input = {},
                      std::chrono::seconds limit = std::chrono::seconds(30))
    {
        ProcessResult result;
        const fs::path inputFile = m_home / "stdin";
        std::ofstream(inputFile, std::ios::binary | std::ios::trunc) << input;

        std::array<int, 2> outPipe {-1, -1};
        std::array<int, 2> errPipe {-1, -1};
        if (::pipe2(outPipe.data(), O_CLOEXEC) != 0 || ::pipe2(errPipe.data(), O_CLOEXEC) != 0)
            return result;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inputFile.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);

        std::vector<std::string> environment;
        for (const auto& [name, value] : m_environment)
            environment.push_back(name + "=" + value);
        pid_t pid = -1;
        const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                          Pointers(args).data(), Pointers(environment).data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const bool drained = spawned == 0 && Drain(outPipe[0], errPipe[0], result, deadline);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        if (spawned != 0)
            return result;

        // A program may close its output and go on running: the wait is bounded too.
        int status = 0;
        pid_t ended = 0;
        while (drained && (ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended != pid) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        } else if (WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        }
        return result;
    }

private:
    // The argv or envp form of a list; the texts must outlive it.
    static std::vector<char*> Pointers(const std::vector<std::string>& texts)
    {
        std::vector<char*> pointers;
        for (const std::string& text : texts)
            pointers.push_back(const_cast<char*>(text.c_str()));
        pointers.push_back(nullptr);
        return pointers;
    }

    // Reads both pipes until the program closes them; false when the time ran out first.
    static bool Drain(int outFd, int errFd, ProcessResult& result,
                      std::chrono::steady_clock::time_point deadline)
    {
        std::array<pollfd, 2> fds {pollfd {outFd, POLLIN, 0}, pollfd {errFd, POLLIN, 0}};
        std::array<std::string*, 2> sinks {&result.out, &result.err};
        int open = 2;
        while (open > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            if (::poll(fds.data(), fds.size(), int(left.count())) < 0 && errno != EINTR)
                return false;
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0)
                    continue;
                char buffer[4096];
                const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, std::size_t(n));
                } else if (n == 0 || errno != EINTR) {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
        return true;
    }

    fs::path m_home;
    std::map<std::string, std::string> m_environment;
};

}  // namespace tavlix::testing
