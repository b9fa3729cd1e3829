#include "timing/launch_times_win32.h"

#include <windows.h>
#include <psapi.h>

#include <cstdarg>
#include <cstdio>

namespace tremblix::launch_times {

namespace {

HANDLE OpenTimesFile() {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("TREMBLIX_TIMES", path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return INVALID_HANDLE_VALUE;
  // Appended to by both programs at once: each line is one write at the end.
  return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE TimesFile() {
  static const HANDLE file = OpenTimesFile();
  return file;
}

unsigned long long Ticks(const FILETIME& t) {
  return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void Write(double ms, const char* text) {
  char line[512];
  const int length = std::snprintf(line, sizeof(line), "%.2f %s\n", ms, text);
  if (length <= 0) return;
  DWORD written = 0;
  WriteFile(TimesFile(), line, static_cast<DWORD>(length < 512 ? length : 511), &written,
            nullptr);
}

}  // namespace

bool On() { return TimesFile() != INVALID_HANDLE_VALUE; }

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Mark(const char* format, ...) {
  if (!On()) return;
  const double now = Now();
  char text[448];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  Write(now, text);
}

double ProcessAgeMs() {
  // The creation time is on the wall clock, so the age is taken there.
  FILETIME created, exited, kernel, user, wall;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&wall);
  return static_cast<double>(Ticks(wall) - Ticks(created)) / 10000.0;
}

void MarkProcessStart(const char* what) {
  if (!On()) return;
  const double age = ProcessAgeMs();
  Write(Now() - age, what);
}

}  // namespace tremblix::launch_times

namespace tremblix::launch_times {

double ProcessorMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return static_cast<double>(Ticks(kernel) + Ticks(user)) / 10000.0;
}

void MarkMemory(const char* what) {
  if (!On()) return;
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters))) {
    return;
  }
  constexpr double kMiB = 1024.0 * 1024.0;
  Mark("%s: peak working set %.0f MiB, peak private %.0f MiB", what,
       counters.PeakWorkingSetSize / kMiB, counters.PeakPagefileUsage / kMiB);
}

void MarkEnd(const char* program, unsigned long code) {
  if (!On()) return;
  char starter[64] = "";
  const DWORD length = GetEnvironmentVariableA("TREMBLIX_STARTED_AS", starter, sizeof(starter));
  if (length >= sizeof(starter)) starter[0] = '\0';
  Mark("%s ended with code %lu, started as %s", program, code, starter);
}

}  // namespace tremblix::launch_times
