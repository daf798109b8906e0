#include "core/export/Compressor.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace qm {

namespace {

std::string executableDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return ".";
    return exe.parent_path().string();
}

// Starts program with the arguments and waits for it to end. Returns false
// when it could not be started; exitStatus then stays -1.
bool runAndWait(const std::string& program, const std::vector<std::string>& args, int& exitStatus)
{
    exitStatus = -1;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The child reports a failed exec through a pipe that closes on a
    // successful one.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        ::execv(program.c_str(), argv.data());
        const int error = errno;
        ssize_t ignored = ::write(fds[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(fds[1]);
    int childError = 0;
    ssize_t got;
    do
        got = ::read(fds[0], &childError, sizeof childError);
    while (got < 0 && errno == EINTR);
    ::close(fds[0]);

    int status = 0;
    pid_t waited;
    do
        waited = ::waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (got > 0)
        return false;
    if (waited == pid && WIFEXITED(status))
        exitStatus = WEXITSTATUS(status);
    return true;
}

} // namespace

std::string compressorDirectory(const std::string& setting)
{
    if (const char* env = std::getenv("QUILTMARK_COMPRESSOR_DIR"); env && *env)
        return env;
    if (!setting.empty())
        return setting;
    return executableDirectory();
}

bool compressorPresent(const std::string& dir, std::string& message)
{
    if (!fileExists(dir + "/ppibm.exe")) {
        message = MSG_NO_PPIBM_EXE;
        return false;
    }
    if (!fileExists(dir + "/ppibm.pif")) {
        message = MSG_NO_PPIBM_PIF;
        return false;
    }
    return true;
}

std::string packedPathFor(const std::string& binPath)
{
    return binPath.substr(0, binPath.size() >= 3 ? binPath.size() - 3 : 0) + "rnc";
}

std::optional<std::vector<std::uint8_t>> runCompressor(const std::string& dir, std::span<const std::uint8_t> bytes,
                                                       const std::string& packedPath, Prompter& prompter,
                                                       std::string& reason)
{
    const std::string tempPath = dir + "/temp.bin";
    if (const WriteResult copied = writeFileAtomically(tempPath, bytes); !copied) {
        reason = withOsReason(formatText("Unable to create file %s", tempPath.c_str()), copied.error);
        prompter.inform(reason);
        return std::nullopt;
    }
    int exitStatus = -1;
    std::vector<std::uint8_t> packed;
    ReadResult read;
    if (!runAndWait(dir + "/ppibm.pif", {"p", "-m2", tempPath}, exitStatus))
        reason = MSG_PPIBM_NOT_STARTED;
    else if (exitStatus != 0) // a packer that failed leaves nothing trustworthy behind
        reason = formatText(MSG_PPIBM_FAILED, packedPath.c_str());
    else if ((read = readWholeFile(tempPath, packed)) != ReadStatus::Ok)
        reason = readFailureText(read, tempPath, formatText("Unable to open file %s", tempPath.c_str()));
    ::unlink(tempPath.c_str());
    if (!reason.empty()) {
        prompter.inform(reason);
        return std::nullopt;
    }
    return packed;
}

} // namespace qm
