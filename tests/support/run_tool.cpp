#include "tests/support/run_tool.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace orvane_test {

namespace {
std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments) {
    ToolRun run;
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-tool-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return run;
    const std::filesystem::path dir = pattern;
    const std::string outPath = (dir / "out").string();
    const std::string errPath = (dir / "err").string();
    const std::string executable = (std::filesystem::path(ORVANE_BIN_DIR) / program).string();

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    if (child > 0) {
        int status = 0;
        if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    }
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return run;
}

}  // namespace orvane_test
