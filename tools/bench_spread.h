// Thread CPU time and the least and the median of repeated timings, as the benchmarks that
// run two sides in the same rounds report them.
#pragma once
#include <time.h>

#include <algorithm>
#include <vector>

// Thread CPU time in milliseconds.
inline double BenchThreadMs() {
  timespec t = {};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

struct Spread {
  double min = 0, median = 0;
};

inline Spread SpreadOf(std::vector<double> v) {
  Spread s;
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  s.min = v.front();
  s.median = v[v.size() / 2];
  return s;
}
