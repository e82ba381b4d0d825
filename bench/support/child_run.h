// Runs one measured load in a process of its own, so that its wall time
// and peak memory are the whole cost of that load and nothing else.
#pragma once

#include <string>
#include <vector>

namespace objbench {

struct ChildRun {
    bool ok = false;          // exit code 0
    double seconds = 0.0;     // wall time from fork to exit
    double cpuSeconds = 0.0;  // user + system time of the child
    long peakKiB = 0;         // peak resident set size
    bool timedOut = false;    // stopped at the time limit
    std::string output;       // standard output
};

// Runs argv[0] with argv, standard input and error from and to /dev/null,
// standard output captured, XDG_CONFIG_HOME set to configHome. With a
// limitSeconds above 0 the child is stopped (SIGALRM) after that many
// seconds of wall time, and the run is not ok.
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& configHome,
                  unsigned limitSeconds = 0);

// The median of the values (0 for none).
double Median(std::vector<double> values);

// This program's own path, for running it again as a child.
std::string SelfPath();

}  // namespace objbench
