// The fuzz targets' standard output and input, kept in memory: a run's whole
// output can be checked, and its standard input is what the target says.
#ifndef WNCTL_FUZZ_STANDARD_STREAMS_H_
#define WNCTL_FUZZ_STANDARD_STREAMS_H_

#include <string>

// Forgets what was printed so far; from the first call on, standard output
// goes to memory.
void BeginCapturingOutput();
// What was printed since BeginCapturingOutput.
std::string TakeCapturedOutput();

// Standard input holds `text` and nothing else, read from its start.
void SetStandardInput(const std::string& text);

#endif  // WNCTL_FUZZ_STANDARD_STREAMS_H_
