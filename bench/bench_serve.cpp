// SPDX-License-Identifier: GPL-3.0-or-later
// What qmf4150ctl serve costs while it runs: the tool on the simulated board, polling every second,
// scraped once a second over HTTP for a minute. Measured: the CPU time of all the tool's threads
// (from /proc/PID/task/*/schedstat, in nanoseconds) between the first scrape and the last, as a
// share of one core. Goal: at most 0.2 %. The simulated chip's physics is part of every register
// read, so the figure is an upper bound for a real board's polling work.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds of CPU time used so far by every thread of the process.
long long processCpuNs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long long total = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') {
                continue;
            }
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            long long ns = 0;
            if (schedstat >> ns) {
                total += ns;
            }
        }
        closedir(dir);
    }
    return total;
}

// GET /metrics; the whole answer (HTTP/1.0: the server closes when done).
std::string scrape(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const char request[] = "GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (write(fd, request, sizeof request - 1) == ssize_t(sizeof request - 1)) {
            char buffer[8192];
            for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
                answer.append(buffer, size_t(n));
            }
        }
    }
    close(fd);
    return answer;
}

struct Tool {
    pid_t pid = -1;
    int port = 0;
};

// Starts the tool and reads the port from its first line.
Tool startServe() {
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(QMF4150CTL_PATH, "qmf4150ctl", "--simulate", "serve", "--listen", "127.0.0.1:0",
              "--interval", "1", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    close(out[0]);
    const std::string::size_type colon = line.find("127.0.0.1:");
    Tool tool{pid, 0};
    if (colon != std::string::npos) {
        tool.port = std::atoi(line.c_str() + colon + std::strlen("127.0.0.1:"));
    }
    return tool;
}

void BM_ServeOneScrapePerSecond(benchmark::State& state) {
    const int seconds = int(state.range(0));
    for (auto _ : state) {
        const Tool tool = startServe();
        if (tool.port == 0) {
            state.SkipWithError("serve did not start (built without prometheus-cpp?)");
            break;
        }
        // Start-up (the device search, the first poll) is not the running cost.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        bool answered = scrape(tool.port).find("\nqmf4150_up{") != std::string::npos;
        const long long cpuBefore = processCpuNs(tool.pid);
        const Clock::time_point start = Clock::now();
        for (int n = 1; n <= seconds; ++n) {
            std::this_thread::sleep_until(start + std::chrono::seconds(n));
            answered = answered && scrape(tool.port).find("200 OK") != std::string::npos;
        }
        const long long cpuAfter = processCpuNs(tool.pid);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        kill(tool.pid, SIGTERM);
        int status = 0;
        waitpid(tool.pid, &status, 0);
        if (!answered) {
            state.SkipWithError("a scrape was not answered");
            break;
        }
        const double cpu = double(cpuAfter - cpuBefore) / 1e9;
        state.SetIterationTime(wall);
        state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
        state.counters["cpu_ms_per_poll_and_scrape"] = 1e3 * cpu / seconds;
        state.counters["exit_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}
BENCHMARK(BM_ServeOneScrapePerSecond)
    ->Arg(60)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
