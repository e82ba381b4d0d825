#include "helper_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace crashtest {

namespace fs = std::filesystem;

long HelperRun::Steps() const {
    for (const std::string& line : lines) {
        if (line.rfind("steps ", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

bool HelperRun::Printed(const std::string& line) const {
    for (const std::string& l : lines) {
        if (l == line) return true;
    }
    return false;
}

HelperRun RunHelper(const std::string& operation, const std::string& dir, const std::string& mode,
                    long step) {
    HelperRun run;
    int out[2];
    if (::pipe(out) != 0) return run;
    const std::string stepText = std::to_string(step);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(CRASH_HELPER, CRASH_HELPER, operation.c_str(), dir.c_str(), mode.c_str(),
                stepText.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    return run;
}

std::map<std::string, tessvane::testing::Bytes> Files(const std::string& dir) {
    std::map<std::string, tessvane::testing::Bytes> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] =
                tessvane::testing::ReadFileBytes(entry.path());
        }
    }
    return files;
}

bool IsCompleteForm(const tessvane::testing::Bytes& bytes) {
    return bytes.size() >= 12 && bytes[0] == 'F' && bytes[1] == 'O' && bytes[2] == 'R' &&
           bytes[3] == 'M' && tessvane::testing::GetU32(bytes, 4) + 8ull == bytes.size();
}

std::map<std::string, std::string> StoreValues(const std::string& dir) {
    std::map<std::string, std::string> values;
    std::ifstream in(fs::path(dir) / "Orrin Software" / crashfixtures::kStorePlugin /
                     "Common Settings");
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        if (!line.empty() && line[0] != '#' && eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

std::vector<std::string> TemporaryFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name[0] == '.' || (entry.is_regular_file() && name.rfind("Common Settings.", 0) == 0)) {
            names.push_back(entry.path().string());
        }
    }
    return names;
}

}  // namespace crashtest
