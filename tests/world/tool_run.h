// tool_run.h -- the world tool's tests: a command's output and status, a scratch folder, a file's bytes
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

// What one command printed (standard output and error) and its exit status.
struct ToolRun {
    int status;
    std::string output;
    bool says(const std::string &text) const { return output.find(text) != std::string::npos; }
};

inline ToolRun shell(const std::string &command) {
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    ToolRun run = {-1, ""};
    char chunk[4096];
    for (size_t n; pipe && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        run.output.append(chunk, n);
    int status = pipe ? pclose(pipe) : -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline std::string quoted(const fs::path &p) { return "'" + p.string() + "'"; }

// lamplight-world run in `dir`.
inline ToolRun run_tool(const fs::path &dir, const std::string &args) {
    return shell(std::string(WORLD_TOOL) + " -C " + quoted(dir) + " " + args);
}

inline std::string read_file(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder under $TMPDIR, removed at the end of the test.
struct TempDir {
    fs::path path;
    TempDir() {
        const char *tmp = getenv("TMPDIR");
        std::string name = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/world_test.XXXXXX";
        path = mkdtemp(name.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

// The game's datafiles, as the build made them, copied into `dir`.
inline void copy_datafiles(const fs::path &dir) {
    for (const char *f : {"data.dat", "guy.dat", "monster.dat"})
        fs::copy_file(fs::path(WORLD_GAME_DIR) / f, dir / f, fs::copy_options::overwrite_existing);
}
