// Start-up of `sigil --version` beside a program linked to Qt Core only,
// measured alternately in one run (median of many starts each), and the
// number of shared libraries each loads. File managers start `sigil
// thumbnail` once per file, so its start-up is most of what a thumbnail
// costs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Seconds for one start of the program, output thrown away; negative when
// it could not run.
double startOnce(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The shared libraries the dynamic loader maps for the program.
int sharedLibraries(const std::string& program)
{
    const std::string command = "ldd '" + program + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return -1;
    int count = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get()))
        if (std::string(line).find("=>") != std::string::npos)
            ++count;
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const std::vector<std::string> sigil = {SIGIL_CLI_PATH, "--version"};
    const std::vector<std::string> probe = {QT_CORE_PROBE_PATH};
    std::vector<double> sigilTimes, probeTimes;
    for (int i = 0; i < runs + 2; ++i) {
        const double s = startOnce(sigil);
        const double p = startOnce(probe);
        if (s < 0 || p < 0) {
            std::fprintf(stderr, "startup_bench: a program did not run\n");
            return 1;
        }
        if (i >= 2) {  // the first starts warm the file cache
            sigilTimes.push_back(s);
            probeTimes.push_back(p);
        }
    }
    const double s = median(sigilTimes), p = median(probeTimes);
    std::printf("sigil --version %.2f ms (%d shared libraries); Qt Core only %.2f ms (%d); %.2f x; goal <= 1.5 x: %s\n",
                s * 1e3, sharedLibraries(SIGIL_CLI_PATH), p * 1e3, sharedLibraries(QT_CORE_PROBE_PATH), s / p,
                s <= 1.5 * p ? "met" : "NOT met");
    return 0;
}
