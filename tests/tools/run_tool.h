// Running a command-line tool from a test: its exit status and everything
// it wrote to standard output and standard error.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace ferrolune::test {

struct ToolRun {
  int status = -1;  // the exit status, or -1 when it did not exit normally
  std::string output;
};

// Runs `program` with `arguments`, each quoted for the shell.
inline ToolRun run_tool(const std::string& program, const std::vector<std::string>& arguments) {
  std::string command = "'" + program + "'";
  for (const auto& argument : arguments) {
    command += " '";
    for (char c : argument) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "'";
  }
  command += " 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int wait_status = pclose(pipe);
  if (wait_status != -1 && WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
  return run;
}

}  // namespace ferrolune::test
