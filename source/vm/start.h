// Start-up and shut-down of the runtime, the command line and the exit code.
#pragma once

#include <string>
#include <vector>

// Starts the runtime in the documented order; with `callMain` calls the main procedure with the
// command-line arguments (program path and "//" switches left out).
void pv_vmInit(bool callMain);
// Shuts the runtime down (once; later calls only return the exit code) and returns the exit code.
int pv_vmQuit();
// Starts the modules a library registered while the runtime runs (one loaded on demand): their
// static initialisers, the at-init callbacks added since, then their INIT procedures.
void pv_vmInitLoaded();
void pv_vmAtInit(void (*callback)(void*), void* cargo);
void pv_vmAtExit(void (*callback)(void*), void* cargo);
void pv_vmDoExitFunctions();
void pv_vmSetShutdownHook(void (*callback)());   // the table engine's shut-down
int pv_vmExitCode();
// Seconds since the program started.
double pv_vmSecondsRunning();
void pv_vmSetExitCode(int code);

// The command line: argument 0 is the program's path.
void pv_cmdargInit(const std::vector<std::string>& args);
// Splits a Windows-style command line (at most 128 arguments in all, argument 0 given).
std::vector<std::string> pv_cmdargSplit(const std::string& program, const std::string& commandLine);
int pv_cmdargARGC();
const std::string& pv_cmdargARGV(int n);
bool pv_cmdargCheck(const char* switchName);   // "//NAME" present (case-insensitive)
std::vector<std::string> pv_cmdargParams();    // arguments without the program and switches
