// Runs programs that print one file to the capture printer, times them from the Win32 side
// and samples their peak working set. Each round runs every program once, in an order that
// changes from round to round through every possible order, so that each program goes
// first as often as any other and drift in the machine's load falls on all alike.
//
// Usage: BenchLauncher.exe RUNS MEMORY_RUNS CAPTURE_FILE EXPECTED_BYTES NAME=COMMAND...
//   RUNS          timed rounds (after one untimed warm-up run each), rounded up to a whole
//                 number of cycles through the orders (2 for two programs, 6 for three)
//   MEMORY_RUNS   further runs of each, polling GetProcessMemoryInfo every millisecond
//   CAPTURE_FILE  the capture printer's port file (a Windows path); removed before each run
//   EXPECTED_BYTES  the size each job must leave there; any other size or a non-zero exit
//                 code stops the benchmark
// Prints one line per program:
//   result NAME RUNS MIN_MS MEDIAN_MS PEAK_WORKING_SET_BYTES POLLED_MEDIAN_MS
// and one line for every two programs A and B (A named before B), the median over the
// rounds of A's time divided by B's in the same round, over all rounds, over those in
// which A ran before B and over those in which B ran first:
//   paired A B MEDIAN_RATIO ROUNDS A_FIRST_MEDIAN A_FIRST_ROUNDS B_FIRST_MEDIAN B_FIRST_ROUNDS
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string name;
    std::string commandLine;
    std::vector<double> times;        // milliseconds, unpolled runs, one a round
    std::vector<size_t> positions;    // where in its round each of those runs came
    std::vector<double> polledTimes;  // milliseconds, runs with memory polling
    SIZE_T peakWorkingSet = 0;
};

struct RunResult {
    bool ok = false;
    double milliseconds = 0;
    SIZE_T peakWorkingSet = 0;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The peak is sampled while the process lives: Wine forgets a process's counters as soon
// as it has exited, so they cannot be read afterwards as on Windows.
RunResult RunOnce(const std::string& commandLine, bool pollMemory)
{
    RunResult result;
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine.c_str(),
                     GetLastError());
        return result;
    }
    if (pollMemory) {
        while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
            PROCESS_MEMORY_COUNTERS counters = {};
            counters.cb = sizeof(counters);
            if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters)))
                result.peakWorkingSet = std::max(result.peakWorkingSet, counters.PeakWorkingSetSize);
        }
    } else {
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    result.milliseconds = Now() - start;
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode != 0)
        std::fprintf(stderr, "%s exited with %ld\n", commandLine.c_str(), static_cast<long>(exitCode));
    result.ok = exitCode == 0;
    return result;
}

bool CaptureHasSize(const std::string& captureFile, unsigned long long expected)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(captureFile.c_str(), GetFileExInfoStandard, &data)) {
        std::fprintf(stderr, "no job reached %s\n", captureFile.c_str());
        return false;
    }
    const unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size != expected)
        std::fprintf(stderr, "%s holds %llu bytes, not %llu\n", captureFile.c_str(), size, expected);
    return size == expected;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Minimum(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: BenchLauncher RUNS MEMORY_RUNS CAPTURE_FILE "
                             "EXPECTED_BYTES NAME=COMMAND...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int memoryRuns = std::atoi(argv[2]);
    const std::string captureFile = argv[3];
    const unsigned long long expected = std::strtoull(argv[4], nullptr, 10);
    std::vector<Program> programs;
    for (int i = 5; i < argc; ++i) {
        const std::string entry = argv[i];
        const size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "not NAME=COMMAND: %s\n", argv[i]);
            return 2;
        }
        programs.push_back({entry.substr(0, equals), entry.substr(equals + 1), {}, {}, {}, 0});
    }

    // One warm-up run each, then the timed rounds, then polled runs. A job that did not
    // arrive whole ends the benchmark: its time would mean nothing.
    auto run = [&](Program& program, bool timed, bool polled) {
        DeleteFileA(captureFile.c_str());
        const RunResult result = RunOnce(program.commandLine, polled);
        if (!result.ok || !CaptureHasSize(captureFile, expected))
            return false;
        if (timed)
            program.times.push_back(result.milliseconds);
        if (polled) {
            program.polledTimes.push_back(result.milliseconds);
            program.peakWorkingSet = std::max(program.peakWorkingSet, result.peakWorkingSet);
        }
        return true;
    };
    if (runs > 0) {
        for (Program& program : programs)
            if (!run(program, false, false))
                return 1;
    }
    // Whole cycles through every order of the programs: each goes first, last and in
    // between equally often, and each two of them run in either order equally often.
    std::vector<size_t> order(programs.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    int cycle = 1;
    for (size_t k = 2; k <= order.size(); ++k)
        cycle *= static_cast<int>(k);
    const int rounds = runs > 0 ? (runs + cycle - 1) / cycle * cycle : 0;
    for (int i = 0; i < rounds; ++i) {
        for (size_t position = 0; position < order.size(); ++position) {
            Program& program = programs[order[position]];
            if (!run(program, true, false))
                return 1;
            program.positions.push_back(position);
        }
        std::next_permutation(order.begin(), order.end());
    }
    for (int i = 0; i < memoryRuns; ++i) {
        for (Program& program : programs)
            if (!run(program, false, true))
                return 1;
    }

    for (const Program& program : programs)
        std::printf("result %s %d %.2f %.2f %lu %.2f\n", program.name.c_str(),
                    static_cast<int>(program.times.size()), Minimum(program.times),
                    Median(program.times), static_cast<unsigned long>(program.peakWorkingSet),
                    Median(program.polledTimes));
    for (size_t a = 0; a < programs.size() && rounds > 0; ++a) {
        for (size_t b = a + 1; b < programs.size(); ++b) {
            std::vector<double> all, aFirst, bFirst;
            for (int i = 0; i < rounds; ++i) {
                const double ratio = programs[a].times[i] / programs[b].times[i];
                all.push_back(ratio);
                (programs[a].positions[i] < programs[b].positions[i] ? aFirst : bFirst)
                    .push_back(ratio);
            }
            std::printf("paired %s %s %.4f %d %.4f %d %.4f %d\n", programs[a].name.c_str(),
                        programs[b].name.c_str(), Median(all), static_cast<int>(all.size()),
                        Median(aFirst), static_cast<int>(aFirst.size()), Median(bFirst),
                        static_cast<int>(bFirst.size()));
        }
    }
    return 0;
}
