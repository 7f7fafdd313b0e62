// Speed of the game server's network core against a minimal epoll server on
// the same framing (the baseline), side by side in one run. Each server runs
// in a child process; the load generator drives one at a time over loopback,
// alternating between the two for a few rounds per case, and the round of
// median throughput stands for each. It prints figures; it checks nothing.
//
// Modes: no argument runs the comparison; "vantor-server" and
// "baseline-server" are the children it starts.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "bench/BaselineServer.h"
#include "bench/LoadGenerator.h"
#include "bench/ServerProcess.h"
#include "server/VantorEmbeddedServer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kVantorMode = "vantor-server";
constexpr const char* kBaselineMode = "baseline-server";

struct Case {
  const char* name;
  LoadKind kind;
  int connections;
  int depth;
};

// 17 connections fill the lobby (24 players, seven of them computers).
const Case kCases[] = {
    {"C17 who-am-i", LoadKind::WhoAmI, 1, 1},     {"C17 who-am-i", LoadKind::WhoAmI, 1, 16},
    {"C17 who-am-i", LoadKind::WhoAmI, 4, 1},     {"C17 who-am-i", LoadKind::WhoAmI, 4, 16},
    {"C17 who-am-i", LoadKind::WhoAmI, 17, 1},    {"C17 who-am-i", LoadKind::WhoAmI, 17, 16},
    {"C19 game list", LoadKind::GameList, 17, 1}, {"C19 game list", LoadKind::GameList, 17, 16},
    {"C6 broadcast", LoadKind::Broadcast, 17, 1},
};

constexpr int kRounds = 3;
constexpr auto kWarmUp = std::chrono::milliseconds(200);
constexpr auto kWindow = std::chrono::milliseconds(1000);
constexpr double kDeepGoal = 0.5;     // depth 16: at least this share of the baseline
constexpr double kShallowGoal = 0.9;  // depth 1

void waitForEndOfInput() {
  char byte;
  while (read(STDIN_FILENO, &byte, 1) > 0) {
  }
}

int runVantorServer() {
  char status[64] = {};
  VantorEmbeddedServer server(status, /*localOnly*/ true, /*firstPort*/ 0);
  server.start();
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
  while (server.getPort() == 0 && !server.gaveUp() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (server.getPort() == 0) return 1;
  ServerProcess::announcePort(server.getPort());
  waitForEndOfInput();
  return 0;
}

int runBaselineServer() {
  BaselineServer server;
  ServerProcess::announcePort(server.port());
  server.serve(STDIN_FILENO);
  return 0;
}

// The round of median throughput among those that worked; the first error
// when none did.
LoadResult median(std::vector<LoadResult> rounds) {
  std::vector<LoadResult> ok;
  for (const LoadResult& round : rounds) {
    if (round.ok) ok.push_back(round);
  }
  if (ok.empty()) return rounds.front();
  std::sort(ok.begin(), ok.end(), [](const LoadResult& a, const LoadResult& b) {
    return a.requestsPerSecond < b.requestsPerSecond;
  });
  return ok[ok.size() / 2];
}

std::string latencies(const LoadResult& result) {
  if (!result.ok) return "failed: " + result.error;
  char text[64];
  std::snprintf(text, sizeof text, "%.0f/%.0f/%.0f", result.p50, result.p99, result.p999);
  return text;
}

void printRow(const Case& benchCase, const LoadResult& vantor, const LoadResult& baseline) {
  const double goal = benchCase.depth > 1 ? kDeepGoal : kShallowGoal;
  char ratio[32] = "-";
  char verdict[32] = "-";
  if (vantor.ok && baseline.ok && baseline.requestsPerSecond > 0) {
    const double share = vantor.requestsPerSecond / baseline.requestsPerSecond;
    std::snprintf(ratio, sizeof ratio, "%.2f", share);
    std::snprintf(verdict, sizeof verdict, "%.1fx %s", goal, share >= goal ? "met" : "short");
  }
  std::printf("%-14s %5d %5d %12.0f %12.0f %6s %-10s %-22s %-22s\n", benchCase.name,
              benchCase.connections, benchCase.depth, vantor.requestsPerSecond,
              baseline.requestsPerSecond, ratio, verdict, latencies(vantor).c_str(),
              latencies(baseline).c_str());
  std::fflush(stdout);
}

int compare() {
  const Clock::time_point start = Clock::now();
  ServerProcess vantor(kVantorMode);
  ServerProcess baseline(kBaselineMode);
  std::printf(
      "Game server (vantor) against a minimal epoll server (baseline) over loopback.\n"
      "Each case: %d rounds per server, alternating, %lld ms warm-up then %lld ms measured;\n"
      "the round of median throughput is shown. Latency: send to reply, microseconds.\n"
      "Goals: vantor at least %.1fx the baseline's requests/s at depth 16, %.1fx at depth 1.\n\n",
      kRounds, static_cast<long long>(kWarmUp.count()), static_cast<long long>(kWindow.count()),
      kDeepGoal, kShallowGoal);
  std::printf("%-14s %5s %5s %12s %12s %6s %-10s %-22s %-22s\n", "case", "conns", "depth",
              "vantor req/s", "base req/s", "ratio", "goal", "vantor p50/p99/p999",
              "base p50/p99/p999");
  std::fflush(stdout);
  for (const Case& benchCase : kCases) {
    const LoadPlan plan{benchCase.kind, benchCase.connections, benchCase.depth, kWarmUp, kWindow};
    std::vector<LoadResult> vantorRounds, baselineRounds;
    for (int round = 0; round < kRounds; ++round) {
      // Alternating which goes first spreads any drift of the machine evenly.
      for (int turn = 0; turn < 2; ++turn) {
        const bool vantorTurn = (round + turn) % 2 == 0;
        const ServerProcess& server = vantorTurn ? vantor : baseline;
        LoadResult result = LoadGenerator(server.port(), plan).run();
        (vantorTurn ? vantorRounds : baselineRounds).push_back(result);
      }
    }
    printRow(benchCase, median(vantorRounds), median(baselineRounds));
  }
  std::printf("\nTotal %.1f s.\n", std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc > 1 && std::strcmp(argv[1], kVantorMode) == 0) return runVantorServer();
    if (argc > 1 && std::strcmp(argv[1], kBaselineMode) == 0) return runBaselineServer();
    return compare();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantor_server_bench: %s\n", e.what());
    return 1;
  }
}
