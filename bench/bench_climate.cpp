// Observed wind climate from a long series: 1,000,000 ten-minute records
// (about 19 years) drawn here, turned into a climate file, a summary and a
// plot by the kavicalc tool. Reports the wall-clock and CPU time of the
// whole command (reading, binning, fits, writing), which runs on one core.
//
//   bench_climate [RECORDS]    (default 1000000)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {
double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void WriteSeries(const std::string& path, long records) {
  std::mt19937 generator(1);
  const auto uniform = [&] { return (generator() + 0.5) / 4294967296.0; };
  std::ofstream out(path);
  out << "time,ws_80m,wd_78m\n";
  char line[96];
  for (long n = 0; n < records; ++n) {
    const long minutes = 10 * n;
    const long day = minutes / 1440;
    const double direction = 360 * uniform();
    const double speed = 8 * std::pow(-std::log(1 - uniform()), 1 / 2.1);
    std::snprintf(line, sizeof line, "%04ld-%02ld-%02ld %02ld:%02ld,%.2f,%.1f\n", 2000 + day / 336,
                  1 + day % 336 / 28, 1 + day % 28, minutes % 1440 / 60, minutes % 60,
                  n % 500 == 7 ? -999.0 : speed, direction);
    out << line;
  }
}
}  // namespace

int main(int argc, char** argv) {
  const long records = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kavi-bench-climate-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string series = (folder / "series.csv").string();
  WriteSeries(series, records);
  const std::string command = std::string("\"") + KAVI_TOOL_PATH + "\" climate --series \"" +
                              series + "\" --speed ws_80m --direction wd_78m --time time " +
                              "--missing -999 --latitude 55 --out \"" +
                              (folder / "series.tab").string() + "\" --plot \"" +
                              (folder / "series.svg").string() + "\" --format json >/dev/null";
  const double cpuBefore = ChildCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const double cpu = ChildCpuSeconds() - cpuBefore;
  std::printf("records %ld, file %.1f MB, wall %.3f s, cpu %.3f s, status %d\n", records,
              static_cast<double>(std::filesystem::file_size(series)) / 1e6, wall.count(), cpu,
              status);
  std::filesystem::remove_all(folder);
  return status == 0 ? 0 : 1;
}
