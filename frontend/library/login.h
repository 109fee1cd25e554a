#ifndef WNCTL_FRONTEND_LIBRARY_LOGIN_H_
#define WNCTL_FRONTEND_LIBRARY_LOGIN_H_

#include <string>

// Logs the computer in, prompting for the password; returns the exit code.
int LoginComputer(const std::string& email);

// The request and its answer: 0 when logged in, -1 after a failure line.
int RunLoginComputerCommand(const std::string& email, const std::string& password);

// One word from standard input, after the prompt, with the echo off on a
// terminal; empty when nothing could be read.
std::string ReadPassword();

#endif  // WNCTL_FRONTEND_LIBRARY_LOGIN_H_
