// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Starts programs on the X server in DISPLAY, over and over, and measures the time from process start to its
// first window being mapped, and the resident memory once it has settled. No window manager may run:
// top-level windows are then children of the root window, whose map events this client watches.
//
// Usage: startup_bench RUNS SETTLE_MS NAME=COMMAND [NAME=COMMAND...]
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
  double milliseconds;
  long rssKib;
};

long ResidentKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

bool WaitForMap(Display* display, Clock::time_point deadline) {
  while (Clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify) return true;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

std::optional<Sample> RunOnce(Display* display, const std::string& command, int settleMs) {
  XSync(display, True);  // drop anything left over
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool mapped = WaitForMap(display, start + std::chrono::seconds(20));
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  const long rss = ResidentKib(pid);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  if (!mapped) return std::nullopt;
  return Sample{ms, rss};
}

// The value a fraction of the way up the sorted values: 0.5 is the median.
template <class T>
T Quantile(std::vector<T> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_bench RUNS SETTLE_MS NAME=COMMAND...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int settleMs = std::atoi(argv[2]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "startup_bench: no display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  std::vector<std::pair<std::string, std::string>> programs;
  for (int i = 3; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto equals = argument.find('=');
    programs.emplace_back(argument.substr(0, equals), argument.substr(equals + 1));
  }
  std::map<std::string, std::vector<Sample>> samples;
  // Each turn's start-up of the first program over the second's, taken moments apart.
  std::vector<double> pairedRatios;
  // One warm-up each, then the programs take turns so that both see the same machine.
  for (const auto& [name, command] : programs) RunOnce(display, command, settleMs);
  for (int run = 0; run < runs; ++run) {
    std::vector<std::optional<Sample>> turn;
    for (const auto& [name, command] : programs) {
      turn.push_back(RunOnce(display, command, settleMs));
      if (turn.back()) samples[name].push_back(*turn.back());
    }
    if (turn.size() >= 2 && turn[0] && turn[1])
      pairedRatios.push_back(turn[0]->milliseconds / turn[1]->milliseconds);
  }

  std::printf("%-10s %6s %14s %18s %14s\n", "program", "runs", "start ms", "quartiles ms", "RSS KiB");
  std::map<std::string, std::pair<double, long>> medians;
  for (const auto& [name, command] : programs) {
    std::vector<double> times;
    std::vector<long> rss;
    for (const Sample& sample : samples[name]) {
      times.push_back(sample.milliseconds);
      rss.push_back(sample.rssKib);
    }
    if (times.empty()) {
      std::printf("%-10s never mapped a window\n", name.c_str());
      return 1;
    }
    medians[name] = {Quantile(times, 0.5), Quantile(rss, 0.5)};
    std::printf("%-10s %6zu %14.1f %8.1f-%-9.1f %14ld\n", name.c_str(), times.size(), medians[name].first,
                Quantile(times, 0.25), Quantile(times, 0.75), medians[name].second);
  }
  if (programs.size() >= 2) {
    const auto& ours = medians[programs[0].first];
    const auto& floor = medians[programs[1].first];
    std::printf("ratio %s/%s: start %.3f, RSS %.3f\n", programs[0].first.c_str(), programs[1].first.c_str(),
                ours.first / floor.first,
                static_cast<double>(ours.second) / static_cast<double>(floor.second));
    // The machine's speed drifts between turns far more than within one: the ratio of each turn, whose median
    // is steadier than the ratio of the two medians.
    if (!pairedRatios.empty()) {
      std::printf("ratio %s/%s turn by turn: median %.3f, quartiles %.3f-%.3f\n", programs[0].first.c_str(),
                  programs[1].first.c_str(), Quantile(pairedRatios, 0.5), Quantile(pairedRatios, 0.25),
                  Quantile(pairedRatios, 0.75));
    }
  }
  XCloseDisplay(display);
  return 0;
}
