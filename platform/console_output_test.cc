#include "platform/console_output.h"

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Whatever the order the threads take, each line arrives whole.
TEST(ConsoleOutput, LinesOfThreadsStayWhole) {
  const int kThreads = 4;
  const int kLines = 500;
  std::vector<std::string> expected;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kLines; ++i)
      expected.push_back("thread " + std::to_string(t) + std::string(40, 'x'));
  }
  std::sort(expected.begin(), expected.end());
  testing::internal::CaptureStdout();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i)
        PrintLine("thread " + std::to_string(t) + std::string(40, 'x'));
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(expected, SortedLines(testing::internal::GetCapturedStdout()));
}

// A line of another thread waits for the prompt's line to end.
TEST(ConsoleOutput, PromptLineIsEndedBeforeOtherLines) {
  testing::internal::CaptureStdout();
  std::thread other;
  {
    PromptLine prompt("Password: ");
    std::atomic<bool> started(false);
    other = std::thread([&started] {
      started = true;
      PrintLine("ERROR: other");
    });
    // Gives an unheld line every chance to slip in; the result holds either
    // way.
    while (!started)
      std::this_thread::yield();
    for (int i = 0; i < 100; ++i)
      std::this_thread::yield();
  }
  other.join();
  EXPECT_EQ("Password: \nERROR: other\n", testing::internal::GetCapturedStdout());
}

TEST(ConsoleOutput, TextGoesOutAsItIs) {
  testing::internal::CaptureStdout();
  PrintText("{\n}\n");
  PrintLine("a\tb");
  PrintLine("");
  EXPECT_EQ("{\n}\na\tb\n\n", testing::internal::GetCapturedStdout());
}

}  // namespace
