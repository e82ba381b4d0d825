#include "cli_runner.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "iff_builder.h"

namespace tessvane::testing {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string CliProgram() {
    return TESSVANE_CLI;
}

CliResult RunCli(const std::vector<std::string>& args, const std::string& workDir,
                 bool stderrIsTerminal) {
    return RunProgram(CliProgram(), args, workDir, stderrIsTerminal);
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, bool stderrIsTerminal) {
    TempDir capture;
    const std::string outPath = capture.File("out");
    const std::string errPath = capture.File("err");
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_text) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int master = -1;
    int slave = -1;
    if (stderrIsTerminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err =
            stderrIsTerminal ? slave : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::chdir(workDir.c_str()) != 0) ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    CliResult result;
    if (stderrIsTerminal) {
        // Read until the child's end of the terminal closes (EIO), so a full
        // terminal buffer never blocks it.
        ::close(slave);
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            result.err.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(master);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Slurp(outPath);
    if (!stderrIsTerminal) result.err = Slurp(errPath);
    return result;
}

}  // namespace tessvane::testing
