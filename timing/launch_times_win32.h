// Launch timestamps for the launch benchmark and the end-to-end tests. Only
// when the environment variable TREMBLIX_TIMES names a file (they alone set
// it) do the programs append lines to it; otherwise every call here does
// nothing, and the settings file stays the programs' only configuration.
#pragma once

namespace tremblix::launch_times {

bool On();

// Appends "<ms> <what>": ms is the performance counter in milliseconds, one
// clock for every process on the machine, so the two programs' lines join.
// printf-style; safe from any thread.
void Mark(const char* format, ...);

// Marks the moment this process was created: "<ms> <what>".
void MarkProcessStart(const char* what);

// Milliseconds on the performance counter.
double Now();

// Milliseconds since this process was created.
double ProcessAgeMs();

// This process's processor time so far, user and kernel, in milliseconds.
double ProcessorMs();

// Marks "<what>: peak working set N MiB, peak private N MiB" of this process.
void MarkMemory(const char* what);

// Marks "<program> ended with code N, started as S" as the process ends, S
// being the environment variable TREMBLIX_STARTED_AS: the name its starter
// knows it by. Under Wine a process that has ended can still be killed while
// its Unix side goes; its starter then reads the code Windows gives here.
void MarkEnd(const char* program, unsigned long code);

}  // namespace tremblix::launch_times
